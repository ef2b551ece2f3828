"""Switch to a product recipe: gain and look-up table from a CSV file.
usage: recipe.py ROUTE GAIN LUT.csv"""
import sys
import zrk880

route, gain, lut_file = sys.argv[1], int(sys.argv[2]), sys.argv[3]
lut = zrk880.load_lut_csv(lut_file)  # checked whole before anything is sent
with zrk880.open(route) as cam:
    cam["gain_level"] = gain
    cam["lut_switch"] = 1
    cam.lut.write(lut, progress=lambda done, total, channel: print(
        f"\rLUT {done}/{total}", end="", file=sys.stderr))
print(f"\nrecipe set: gain_level {gain}, LUT {lut_file}")
