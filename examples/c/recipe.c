/* Switch to a product recipe: gain and look-up table from a CSV file.
   usage: recipe ROUTE GAIN LUT.csv */
#include <stdio.h>
#include <stdlib.h>
#include <zrk880.h>

int main(int argc, char** argv) {
    if (argc != 4) {
        fprintf(stderr, "usage: %s ROUTE GAIN LUT.csv\n", argv[0]);
        return 2;
    }
    uint8_t lut[ZRK880_LUT_SIZE];
    zrk880_camera* cam;
    if (zrk880_lut_load_csv(argv[3], lut) != ZRK880_OK ||
        zrk880_open(argv[1], 9600, &cam) != ZRK880_OK) {
        fprintf(stderr, "error: %s\n", zrk880_last_error());
        return 1;
    }
    int ok = zrk880_set(cam, "gain_level", atoi(argv[2])) == ZRK880_OK &&
             zrk880_set(cam, "lut_switch", 1) == ZRK880_OK &&
             zrk880_lut_write(cam, lut, NULL, NULL) == ZRK880_OK;
    if (ok)
        printf("recipe set: gain_level %s, LUT %s\n", argv[2], argv[3]);
    else
        fprintf(stderr, "error: %s\n", zrk880_last_error());
    zrk880_close(cam);
    return ok ? 0 : 1;
}
