"""At start-up: does the camera hold the golden settings? Exit 1 on drift.
usage: golden_check.py ROUTE GOLDEN.json"""
import pathlib
import sys
import zrk880

try:
    with zrk880.open(sys.argv[1]) as cam:
        drift = cam.diff(pathlib.Path(sys.argv[2]))
except zrk880.Error as e:
    sys.exit(f"error: {e}")
for name, (camera, golden) in drift.items():
    print(f"drift: {name} is {camera}, golden {golden}")
sys.exit(1 if drift else 0)
