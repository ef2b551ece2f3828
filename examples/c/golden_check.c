/* At start-up: does the camera hold the golden settings? Exit 1 on drift.
   usage: golden_check ROUTE GOLDEN.json */
#include <stdio.h>
#include <zrk880.h>

int main(int argc, char** argv) {
    if (argc != 3) {
        fprintf(stderr, "usage: %s ROUTE GOLDEN.json\n", argv[0]);
        return 2;
    }
    zrk880_camera* cam;
    if (zrk880_open(argv[1], 9600, &cam) != ZRK880_OK) {
        fprintf(stderr, "%s: %s\n", argv[1], zrk880_last_error());
        return 2;
    }
    zrk880_difference diff[ZRK880_USER_SETTINGS];
    size_t count = ZRK880_USER_SETTINGS;
    int rc = zrk880_compare_file(cam, argv[2], diff, &count);
    zrk880_close(cam);
    if (rc != ZRK880_OK) {
        fprintf(stderr, "error: %s\n", zrk880_last_error());
        return 2;
    }
    for (size_t i = 0; i < count; ++i)
        printf("drift: %s is %d, golden %d\n", diff[i].name, diff[i].camera_value,
               diff[i].file_value);
    return count == 0 ? 0 : 1;
}
