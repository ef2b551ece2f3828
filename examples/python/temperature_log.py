"""Log the camera's temperature beside each image batch: one batch name per
input line, one CSV line "batch,degrees" out.
usage: temperature_log.py ROUTE < batches"""
import sys
import zrk880

with zrk880.open(sys.argv[1]) as cam:
    for batch in sys.stdin:
        print(f"{batch.strip()},{cam['temperature'] / 10:.1f}", flush=True)
