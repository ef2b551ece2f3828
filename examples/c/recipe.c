/* Switch to a product recipe: gain and look-up table from a CSV file.
   usage: recipe ROUTE GAIN LUT.csv */
#include <stdio.h>
#include <stdlib.h>
#include <zrk880.h>

static int fail(const char* what) {
    fprintf(stderr, "%s: %s\n", what, zrk880_last_error());
    return 1;
}

int main(int argc, char** argv) {
    if (argc != 4) {
        fprintf(stderr, "usage: %s ROUTE GAIN LUT.csv\n", argv[0]);
        return 2;
    }
    uint8_t lut[ZRK880_LUT_SIZE];
    if (zrk880_lut_load_csv(argv[3], lut) != ZRK880_OK) return fail(argv[3]);
    zrk880_camera* cam;
    if (zrk880_open(argv[1], 9600, &cam) != ZRK880_OK) return fail(argv[1]);
    int rc = 0;
    if (zrk880_set(cam, "gain_level", atoi(argv[2])) != ZRK880_OK) rc = fail("gain_level");
    else if (zrk880_set(cam, "lut_switch", 1) != ZRK880_OK) rc = fail("lut_switch");
    else if (zrk880_lut_write(cam, lut, NULL, NULL) != ZRK880_OK) rc = fail("LUT");
    else printf("recipe set: gain_level %s, LUT %s\n", argv[2], argv[3]);
    zrk880_close(cam);
    return rc;
}
