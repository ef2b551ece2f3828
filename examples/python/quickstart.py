"""Open the camera, change a setting, read it back, put the snapshot back."""
import sys
import zrk880

route = sys.argv[1] if len(sys.argv) > 1 else "COM3"
with zrk880.open(route) as cam:
    snapshot = cam.dump()
    cam["gain_level"] = 120
    print("gain_level was set to", cam["gain_level"])
    cam.restore(snapshot)
    print("snapshot restored, gain_level", cam["gain_level"])
