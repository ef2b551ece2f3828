/* Open the camera, change a setting, read it back, put the snapshot back. */
#include <stdio.h>
#include <zrk880.h>

int main(int argc, char** argv) {
    const char* route = argc > 1 ? argv[1] : "COM3";
    zrk880_camera* cam;
    if (zrk880_open(route, 9600, &cam) != ZRK880_OK) {
        fprintf(stderr, "%s: %s\n", route, zrk880_last_error());
        return 1;
    }
    char snapshot[ZRK880_SNAPSHOT_SIZE];
    size_t size = sizeof snapshot;
    int32_t gain = 0;
    int ok = zrk880_snapshot(cam, ZRK880_FORMAT_JSON, snapshot, &size) == ZRK880_OK &&
             zrk880_set(cam, "gain_level", 120) == ZRK880_OK &&
             zrk880_get(cam, "gain_level", &gain) == ZRK880_OK &&
             zrk880_restore(cam, snapshot, size, NULL) == ZRK880_OK;
    if (ok)
        printf("gain_level was set to %d, snapshot restored\n", gain);
    else
        fprintf(stderr, "error: %s\n", zrk880_last_error());
    zrk880_close(cam);
    return ok ? 0 : 1;
}
