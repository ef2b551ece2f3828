"""zrk880 against the simulated camera on a pseudo-terminal: what the binding
adds over the C library (exceptions, dict snapshots, lists, callables)."""

import os
import subprocess
import sys
import textwrap

import pytest

import zrk880


def test_settings_snapshots_and_tables(sim, tmp_path):
    sim()
    with zrk880.open("COM3") as cam:
        golden = cam.dump()
        assert len(golden) == 53 and golden["gain_level"] == 0
        cam["gain_level"] = 120
        assert cam.get("gain_level") == 120 and cam["6"] == 120
        assert cam.diff(golden) == {"gain_level": (120, 0)}
        cam.save(tmp_path / "golden.csv")
        assert cam.restore(golden) == 50  # not the three command registers
        assert cam.diff(tmp_path / "golden.csv") == {"gain_level": (0, 120)}
        assert cam.diff(str(tmp_path / "golden.csv")) == {"gain_level": (0, 120)}
        assert cam.command("810C000000") == b"\x00\x00\x00"
        assert cam.command("010C050000") is None

        table = [[255 - i for i in range(256)], list(range(256)), [i // 2 for i in range(256)]]
        zrk880.save_lut_csv(tmp_path / "lut.csv", table)
        cam.lut.write(zrk880.load_lut_csv(tmp_path / "lut.csv"))
        seen = []
        assert cam.lut.read(progress=lambda done, total, channel: seen.append(done)) == table
        assert seen == list(range(1, 769))
    with pytest.raises(zrk880.ClosedError):
        cam.get("gain_level")
    assert zrk880.setting("gain_level") == (6, "gain_level", 0, 341, 0)
    assert "temperature" in zrk880.names()


def test_identity_texts_and_a_dump_from_another_memory(sim):
    # Each text as long as its registers hold, except the model.
    sim("--vendor", "ACME CAMERAS LTD", "--serial", "AB123456", "--cpu", "1002", "--fpga", "0105")
    with zrk880.open("COM3") as cam:
        assert cam.identity() == {"vendor": "ACME CAMERAS LTD", "model": "ZR-K880TM",
                                  "serial_number": "AB123456", "cpu_version": "1.002",
                                  "fpga_version": "01.05"}
        # A dump made while another memory was loaded: restore cannot load
        # it, so diff does not hold it against the camera either.
        golden = dict(cam.dump(), memory_load=2, memory_save=4)
        assert cam.restore(golden) == 50
        assert cam.diff(golden) == {}
        # Rows as the keys of a snapshot, as for get and set.
        assert cam.restore({"6": 7, 4: 2}) == 2
        assert cam.diff({"gain_level": 0, "4": 2}) == {"gain_level": (7, 0)}


@pytest.mark.parametrize("action, error, message", [
    (lambda c: c.get("gain"), zrk880.InputError, 'unknown setting "gain" (see: zrk880ctl names)'),
    (lambda c: c.set("gain_level", 342), zrk880.RangeError, "Setting value is out of range"),
    (lambda c: c.set("gain_level", 2**40), zrk880.RangeError, "Setting value is out of range"),
    (lambda c: c.set("gain_level", "5"), zrk880.InputError, "'5' is not a whole number"),
    (lambda c: c.get("gain_level\0x"), zrk880.InputError, "the setting's name holds a zero character"),
    (lambda c: c.command("01G"), zrk880.InputError, "Character error."),
    (lambda c: c.restore({"gain_level": 999}), zrk880.InputError,
     "line 1: gain_level (row 6) = 999 is out of range (0..341)"),
    (lambda c: c.save_memory(0), zrk880.InputError, "0 is not a setting memory (1-4 FILE1-FILE4)"),
    (lambda c: c.lut.write([[0] * 256] * 2), zrk880.InputError,
     "a look-up table is three lists of 256 entries"),
    (lambda c: c.lut.write([[300] * 256] * 3), zrk880.InputError,
     "look-up table entries are whole numbers 0..255"),
])
def test_bad_input_raises_and_sends_nothing(sim, action, error, message):
    sim()
    with zrk880.open("COM3") as cam:
        with pytest.raises(error) as raised:
            action(cam)
        assert str(raised.value) == message
        assert cam["gain_level"] == 0


def test_a_port_another_process_holds(sim):
    sim()
    holder = subprocess.Popen(
        [sys.executable, "-c", textwrap.dedent("""
            import sys, zrk880
            cam = zrk880.open("COM3")
            cam.trace(lambda line: None)  # still set when the interpreter ends
            print("open", flush=True)
            sys.stdin.read()
        """)],
        stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True, env=os.environ)
    try:
        assert holder.stdout.readline() == "open\n"
        with pytest.raises(zrk880.PortError) as raised:
            zrk880.open("COM3")
        assert str(raised.value) == "Port Open Error"
    finally:
        holder.stdin.close()
        assert holder.wait() == 0
    zrk880.open("COM3").close()


def test_a_camera_that_falls_silent_mid_walk(sim):
    camera = sim()
    with zrk880.open("COM3") as cam:
        def progress(done, total, channel):
            if done == 5:
                camera.pause()
        with pytest.raises(zrk880.LinkError) as raised:
            cam.lut.read(progress=progress)
        assert str(raised.value) == "There is no [ACK]"


def test_progress_stops_the_walk(sim):
    sim()
    with zrk880.open("COM3") as cam:
        with pytest.raises(zrk880.CancelledError) as raised:
            cam.lut.read(progress=lambda done, total, channel: done < 3)
        assert str(raised.value) == "LUT read cancelled: 3 of 768 entries were read."

        def fails(done, total, channel):
            raise KeyError("from the callback")
        with pytest.raises(KeyError):
            cam.lut.write([list(range(256))] * 3, progress=fails)

        def calls_back(done, total, channel):
            cam.get("gain_level")
        with pytest.raises(zrk880.InputError, match="from inside its callbacks"):
            cam.lut.read(progress=calls_back)


def test_trace_lines(sim):
    sim()
    with zrk880.open("COM3") as cam:
        lines = []
        cam.trace(lines.append)
        cam.get("gain_level")
        cam.trace(None)
        cam.get("gain_level")
    assert [(l["direction"], l["meaning"]) for l in lines] == [
        ("->", "read gain_level"), ("<-", "ACK, answer 00 00 00: gain_level = 0"), ("->", "ACK")]
