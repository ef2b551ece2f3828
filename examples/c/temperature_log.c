/* Log the camera's temperature beside each image batch: one batch name per
   input line, one CSV line "batch,degrees" out.
   usage: temperature_log ROUTE < batches */
#include <stdio.h>
#include <string.h>
#include <zrk880.h>

int main(int argc, char** argv) {
    zrk880_camera* cam;
    if (argc != 2 || zrk880_open(argv[1], 9600, &cam) != ZRK880_OK) {
        fprintf(stderr, "usage: %s ROUTE < batches (%s)\n", argv[0], zrk880_last_error());
        return 2;
    }
    char batch[256];
    int rc = 0;
    while (rc == 0 && fgets(batch, sizeof batch, stdin)) {
        batch[strcspn(batch, "\r\n")] = '\0';
        int32_t tenths = 0;
        if (zrk880_get(cam, "temperature", &tenths) != ZRK880_OK) {
            fprintf(stderr, "%s: %s\n", batch, zrk880_last_error());
            rc = 1;
        } else {
            printf("%s,%.1f\n", batch, tenths / 10.0);
        }
    }
    zrk880_close(cam);
    return rc;
}
