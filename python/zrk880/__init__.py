"""Drive a ZR-K880TM colour camera from Python.

    import zrk880
    with zrk880.open("COM3") as cam:
        cam["gain_level"] = 120
        print(cam.get("temperature") / 10, "degrees")
        golden = cam.dump()              # {"trigger_mode": 0, ...}
        cam.restore(golden)
        drift = cam.diff("golden.json")  # {} when the camera holds the file's settings
        red, green, blue = cam.lut.read(progress=lambda done, total, channel: True)

Settings are named as ``zrk880ctl names`` lists them (or by row, "6").
Failures raise an Error subclass whose message is the text the panel shows
in its box ("There is no [ACK]", "Setting value is out of range", ...).
Calls on one camera from several threads run one after the other; cameras
are independent of each other.
"""

import atexit
import json
import os
import weakref

from . import _zrk880

__all__ = [
    "open", "Camera", "Lut", "setting", "names", "load_lut_csv", "save_lut_csv",
    "Error", "LinkError", "RangeError", "InputError", "PortError", "FileError",
    "CancelledError", "ClosedError", "InternalError",
]

__version__ = _zrk880.version()


class Error(Exception):
    """A failed camera operation; str() is the panel's message, .code the C result."""

    def __init__(self, code, message):
        super().__init__(message)
        self.code = code
        self.message = message


class LinkError(Error):
    """The camera did not answer or the link refused: "There is no [ACK]", "PORT isn't open."."""


class RangeError(Error, ValueError):
    """A value outside the setting's range ("Setting value is out of range"); nothing was sent."""


class InputError(Error, ValueError):
    """Bad input: unknown setting, malformed command text or settings file. Nothing was sent."""


class PortError(Error, OSError):
    """The port could not be opened: held by another program ("Port Open Error"), missing, ..."""


class FileError(Error, OSError):
    """A file could not be read or written."""


class CancelledError(Error):
    """The progress callback stopped a look-up table walk."""


class ClosedError(Error):
    """The camera was closed."""


class InternalError(Error):
    """Something failed inside the library."""


# The C library's result codes.
_ERRORS = {1: LinkError, 2: RangeError, 3: InputError, 4: PortError, 5: FileError,
           6: ClosedError, 8: CancelledError}


def _error(code, message):
    return _ERRORS.get(code, InternalError)(code, message)


_zrk880._set_error_factory(_error)


# Cameras still open when the interpreter ends are closed first, so the
# link's thread never calls a trace callback into an interpreter that is gone.
_open_cameras = weakref.WeakSet()


@atexit.register
def _close_all():
    for camera in list(_open_cameras):
        camera.close()


def open(route, baud=9600):
    """Opens a camera and returns a Camera (use it in a with block).

    route: "COM3" (resolved as the panel does, see ZRK880_PORT_DIR), a device
    path such as "/dev/ttyUSB0", a network serial port "rfc2217://HOST:PORT" or
    "socket://HOST:PORT", "clall:0" (serial index 0 of the common Camera Link
    library) or "cllib:/path/lib.so" (a frame grabber maker's library).
    baud: 9600, 19200, 38400 or 115200. Raises PortError when it does not open.
    """
    return Camera(_zrk880.open(os.fspath(route), baud))


def setting(name):
    """(row, name, min, max, default) of a setting, by name or row text."""
    return _zrk880.setting_info(str(name))


def names():
    """The names of all settings, in row order."""
    return _zrk880.setting_names()


def _channels(data):
    return [list(data[c * 256:(c + 1) * 256]) for c in range(3)]


def _table_bytes(channels):
    if len(channels) != 3 or any(len(ch) != 256 for ch in channels):
        raise InputError(3, "a look-up table is three lists of 256 entries")
    try:
        return bytes(v for ch in channels for v in ch)
    except (ValueError, TypeError):
        raise InputError(3, "look-up table entries are whole numbers 0..255") from None


def load_lut_csv(path):
    """Reads the editor's table file: three lists (red, green, blue) of 256 entries."""
    return _channels(_zrk880.lut_load_csv(os.fspath(path)))


def save_lut_csv(path, channels):
    """Writes three lists of 256 entries as the editor's table file."""
    _zrk880.lut_save_csv(os.fspath(path), _table_bytes(channels))


def _is_path(snapshot):
    """A path object, or a str that cannot be a settings text (one line, no
    JSON bracket, no CSV comma): restore("golden.json") means the file."""
    if isinstance(snapshot, os.PathLike):
        return True
    return (isinstance(snapshot, str) and "\n" not in snapshot and "," not in snapshot
            and not snapshot.lstrip().startswith(("{", "[")))


def _settings_text(snapshot):
    """A settings file's text from a dict {name: value} or the text itself."""
    if isinstance(snapshot, dict):
        # A setting by its row ("6" or 6), as everywhere else, is a row entry.
        def entry(key, value):
            if isinstance(key, int) and not isinstance(key, bool):
                return {"row": key, "value": value}
            if isinstance(key, str) and key.isascii() and key.isdigit():
                return {"row": int(key), "value": value}
            return {"name": key, "value": value}
        return json.dumps([entry(k, v) for k, v in snapshot.items()])
    if isinstance(snapshot, str):
        return snapshot
    raise InputError(3, "a snapshot is a dict, a settings text or a path")


class Lut:
    """The camera's look-up tables: cam.lut.read(), cam.lut.write(tables)."""

    def __init__(self, camera):
        self._camera = camera

    def read(self, progress=None):
        """Reads the three tables entry by entry; returns [red, green, blue] of 256 each.

        progress(done, total, channel) is called after every entry; returning
        False stops the walk (CancelledError). An exception it raises stops
        the walk and comes out of read().
        """
        start = bytes(_zrk880.LUT_SIZE)
        return _channels(_zrk880.lut_read(self._camera._live(), start, progress))

    def write(self, channels, progress=None):
        """Writes three lists of 256 entries (0..255), as the editor's WRITE does."""
        _zrk880.lut_write(self._camera._live(), _table_bytes(channels), progress)


class Camera:
    """One open camera. cam[name] reads a setting, cam[name] = value writes it."""

    def __init__(self, handle):
        self._handle = handle
        self.lut = Lut(self)
        _open_cameras.add(self)

    def _live(self):
        if self._handle is None:
            raise ClosedError(6, "the camera is closed")
        return self._handle

    def close(self):
        """Closes the link; later calls raise ClosedError. Closing twice is harmless."""
        if self._handle is not None:
            handle, self._handle = self._handle, None
            _zrk880.close(handle)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()

    def __del__(self):
        try:
            self.close()
        except Exception:
            pass

    def get(self, name):
        """Reads a setting from the camera."""
        return _zrk880.get(self._live(), str(name))

    def set(self, name, value):
        """Writes a setting after the panel's range check (RangeError, nothing sent)."""
        if not isinstance(value, int) or isinstance(value, bool):
            raise InputError(3, f"{value!r} is not a whole number")
        _zrk880.set(self._live(), str(name), value)

    __getitem__ = get
    __setitem__ = set

    def command(self, text):
        """Sends a command text ("010C550000"); a read returns its 3 answer bytes, a write None."""
        return _zrk880.command(self._live(), text)

    def dumps(self, format="json"):
        """The user settings as a settings file's text ("json" or "csv")."""
        formats = {"json": 0, "csv": 1}
        if format not in formats:
            raise InputError(3, f"unknown format {format!r} (json or csv)")
        return _zrk880.snapshot(self._live(), formats[format])

    def dump(self):
        """The user settings as a dict {name: value}, in row order."""
        return {e["name"]: e["value"] for e in json.loads(self.dumps())["settings"]}

    def save(self, path):
        """Writes the user settings to a settings file (CSV for *.csv, else JSON)."""
        _zrk880.snapshot_file(self._live(), os.fspath(path))

    def restore(self, snapshot):
        """Writes a snapshot to the camera: a dict from dump(), a settings text, or a
        settings file's path (a str of one line without a comma or bracket, or a
        pathlib.Path). All of it is checked before anything is sent. Returns the
        number of settings written."""
        if _is_path(snapshot):
            return _zrk880.restore_file(self._live(), os.fspath(snapshot))
        return _zrk880.restore(self._live(), _settings_text(snapshot))

    def diff(self, snapshot):
        """The settings where the camera differs from a snapshot (as restore() takes):
        {name: (camera_value, snapshot_value)}; empty when they agree. The memory
        and factory setting rows, which restore() never writes, are passed over."""
        if _is_path(snapshot):
            found = _zrk880.compare_file(self._live(), os.fspath(snapshot))
        else:
            found = _zrk880.compare(self._live(), _settings_text(snapshot))
        return {name: (camera, wanted) for name, _row, camera, wanted, _default in found}

    def identity(self):
        """The camera's identity texts, as the adjustment window shows them:
        {"vendor", "model", "serial_number", "cpu_version", "fpga_version"}."""
        return _zrk880.identity(self._live())

    def load_memory(self, memory):
        """Loads setting memory 0 (DEFAULT) or 1..4 (FILE 1..4) and reads the settings back."""
        _zrk880.load_memory(self._live(), memory)

    def save_memory(self, memory):
        """Saves the camera's settings into memory 1..4 (FILE 1..4)."""
        _zrk880.save_memory(self._live(), memory)

    def factory_setting(self):
        """Returns the camera to its factory setting (no question asked)."""
        _zrk880.factory_setting(self._live())

    def trace(self, callback):
        """Calls callback(line) for every line of the link trace, a dict with ms,
        direction, hex, text, meaning and round_trip_ms; None stops it. It runs on
        the link's thread and must not call the camera."""
        _zrk880.set_trace(self._live(), callback)
