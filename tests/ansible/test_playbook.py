"""The collection zrk880.camera run by ansible-playbook against two simulated
cameras: one on a pseudo-terminal (COM3), one behind ser2net speaking RFC 2217.
Check mode, a first run, an identical second run, then one camera falls silent."""

import json
import os
import pathlib
import signal
import socket
import subprocess
import time

import shutil

import pytest

import zrk880

HERE = pathlib.Path(__file__).parent
BAUD = 115200


def start_camera(tmp_path, name, port):
    """The simulated camera serving COM<port> in the test's port folder; every
    command it receives is appended to its log."""
    log = tmp_path / f"{name}.log"
    log.touch()
    program = os.path.join(os.environ["ZR_SIM_DIR"], "zrk880_camsim")
    process = subprocess.Popen([program, "--log", str(log), str(tmp_path / "ports"), str(port)],
                               stdout=subprocess.PIPE, text=True)
    device = process.stdout.readline().strip()
    assert device, "the simulated camera did not start"
    return process, device, log


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def listening(port):
    # From the kernel's table: a trial connection would make ser2net take the device.
    local = "0100007F:%04X" % port
    with open("/proc/net/tcp") as table:
        return any(line.split()[1:4:2] == [local, "0A"] for line in table.readlines()[1:])


def start_ser2net(tmp_path, device):
    port = free_port()
    config = tmp_path / "ser2net.yaml"
    config.write_text("%YAML 1.1\n---\nconnection: &camera\n"
                      f"  accepter: telnet(rfc2217),tcp,127.0.0.1,{port}\n"
                      "  enable: on\n  options:\n    kickolduser: true\n"
                      f"  connector: serialdev,{device},{BAUD}n81,local\n")
    log = open(tmp_path / "ser2net.log", "w")
    process = subprocess.Popen(["ser2net", "-n", "-u", "-c", str(config),
                                "-P", str(tmp_path / "ser2net.pid")], stdout=log, stderr=log)
    for _ in range(500):
        if listening(port):
            return process, port
        assert process.poll() is None, (tmp_path / "ser2net.log").read_text()
        time.sleep(0.02)
    pytest.fail("ser2net does not listen: " + (tmp_path / "ser2net.log").read_text())


def writes(log, start=0):
    """The write commands a camera received after the log's first start bytes
    (a command text whose first digit is below 8 writes)."""
    text = log.read_text()[start:]
    return [line for line in text.split() if int(line[0], 16) < 8]


def playbook(inventory, *options):
    """Runs the playbook; what it recorded ({"results": {host: {task: result}},
    "stats": {host: recap}}) and its exit status."""
    if not shutil.which("ansible-playbook"):
        pytest.fail("ansible-playbook is missing (scripts/install-deps.sh installs ansible-core)")
    record = inventory.parent / "record.json"
    record.unlink(missing_ok=True)
    env = dict(os.environ, ANSIBLE_NOCOLOR="1",
               ANSIBLE_COLLECTIONS_PATH=str(HERE.parent.parent / "ansible"),
               ANSIBLE_CALLBACK_PLUGINS=str(HERE / "callback_plugins"),
               ANSIBLE_CALLBACKS_ENABLED="record", ZR_ANSIBLE_RECORD=str(record),
               ANSIBLE_LOCAL_TEMP=str(inventory.parent / "ansible-local"),
               ANSIBLE_HOME=str(inventory.parent / "ansible-home"),
               ANSIBLE_RETRY_FILES_ENABLED="0", ANSIBLE_PIPELINING="1")
    began = time.monotonic()
    run = subprocess.run(["ansible-playbook", "-i", str(inventory), *options,
                          str(HERE / "site.yml")],
                         env=env, capture_output=True, text=True, timeout=240)
    # Shown when the test fails.
    print(run.stdout, run.stderr)
    print(f"ansible-playbook {' '.join(options)} took {time.monotonic() - began:.1f} s")
    assert record.exists(), f"ansible-playbook recorded nothing:\n{run.stdout}\n{run.stderr}"
    return json.loads(record.read_text()), run.returncode


def results(report, host):
    """{task name: result} of one host."""
    return report["results"][host]


@pytest.fixture
def cameras(tmp_path):
    (tmp_path / "ports").mkdir()
    started = []
    try:
        first, first_device, first_log = start_camera(tmp_path, "station1", 3)
        started.append(first)
        second, device, second_log = start_camera(tmp_path, "station2", 4)
        started.append(second)
        ser2net, port = start_ser2net(tmp_path, device)
        started.append(ser2net)
        yield {"station1": (first, "COM3", first_log, first_device),
               "station2": (second, f"rfc2217://127.0.0.1:{port}", second_log, device)}
    finally:
        for process in reversed(started):
            process.send_signal(signal.SIGCONT)
            process.terminate()
            process.wait()


def test_playbook_sets_the_line_and_a_silent_camera_fails_its_host_only(tmp_path, cameras):
    lut = [[255 - i for i in range(256)], list(range(256)), [i // 2 for i in range(256)]]
    zrk880.save_lut_csv(tmp_path / "lut.csv", lut)
    own = {"station1": {"gain_level": 120}, "station2": {"gain_level": "200", "4": 3}}
    inventory = tmp_path / "inventory.json"
    inventory.write_text(json.dumps({"cameras": {
        "hosts": {name: {"zrk880_route": route, "station_settings": own[name]}
                  for name, (_, route, _, _) in cameras.items()},
        "vars": {"ansible_connection": "local",
                 "ansible_python_interpreter": os.environ.get("ZR_PYTHON", "/usr/bin/python3"),
                 "zrk880_baud": BAUD, "zrk880_port_dir": str(tmp_path / "ports"),
                 "golden_settings": str(HERE / "golden.json"),
                 "golden_lut": str(tmp_path / "lut.csv")}}}))
    hosts = list(cameras)

    # Check mode: what would change, with diffs; the cameras only answer reads.
    report, status = playbook(inventory, "--check", "--diff")
    assert status == 0, report
    for host in hosts:
        done = results(report, host)
        golden = done["Golden settings"]
        assert golden["changed"] and golden["written"] == 0
        assert golden["differences"] == {
            "shutter_speed": {"camera": 0, "wanted": 3},
            "gamma_switch": {"camera": 0, "wanted": 1},
            "gamma_level": {"camera": 128, "wanted": 100},
            "white_balance_r_gain": {"camera": 128, "wanted": 140},
            "lut_switch": {"camera": 0, "wanted": 1}}
        assert "gamma_level: 128\n" in golden["diff"]["before"]
        assert "gamma_level: 100\n" in golden["diff"]["after"]
        assert done["Look-up tables"]["changed"]
        assert done["Look-up tables"]["differing_entries"] == {"red": 256, "green": 0, "blue": 255}
        assert done["Identity and temperature"]["ansible_facts"]["zrk880"]["identity"][
            "serial_number"] == "SIM00001"
        assert writes(cameras[host][2]) == [], host
    assert report["stats"]["station1"]["changed"] == 3

    # The first run sets both cameras.
    report, status = playbook(inventory)
    assert status == 0, report
    for host in hosts:
        done = results(report, host)
        assert done["Golden settings"]["changed"] and done["Golden settings"]["written"] == 5
        assert done["The station's own settings"]["changed"]
        assert done["Look-up tables"]["changed"]
        assert writes(cameras[host][2]), host
    with zrk880.open(cameras["station1"][3], BAUD) as cam:
        assert cam.lut.read() == lut and cam["gain_level"] == 120 and cam["gamma_level"] == 100
    # station1's own settings wanted only what the golden task left alone.
    assert results(report, "station2")["The station's own settings"]["differences"] == {
        "gain_level": {"camera": 0, "wanted": 200}}

    # The same run again: nothing differs, nothing is written.
    logged = {host: len(cameras[host][2].read_text()) for host in hosts}
    report, status = playbook(inventory)
    assert status == 0, report
    for host in hosts:
        assert report["stats"][host]["changed"] == 0, results(report, host)
        assert writes(cameras[host][2], logged[host]) == [], host

    # The camera behind ser2net falls silent: its host fails with the
    # camera's message, the other goes on to the end.
    cameras["station2"][0].send_signal(signal.SIGSTOP)
    report, status = playbook(inventory)
    assert status == 2
    silent = results(report, "station2")["Golden settings"]
    assert silent["failed"] and silent["msg"] == "There is no [ACK]", silent
    assert silent["error"] == "LinkError"
    assert report["stats"]["station2"]["failures"] == 1
    assert report["stats"]["station1"]["failures"] == 0
    assert report["stats"]["station1"]["changed"] == 0
    assert "Drift from the golden settings" in results(report, "station1")


def test_every_module_is_documented():
    modules = [f"zrk880.camera.zrk880_{name}" for name in ("settings", "lut", "facts")]
    env = dict(os.environ, ANSIBLE_COLLECTIONS_PATH=str(HERE.parent.parent / "ansible"))
    run = subprocess.run(["ansible-doc", "--json", *modules], env=env,
                         capture_output=True, text=True, timeout=120)
    assert run.returncode == 0, run.stderr
    docs = json.loads(run.stdout)
    for module in modules:
        options = docs[module]["doc"]["options"]
        assert {"route", "baud"} <= set(options), module
        assert docs[module]["examples"] and docs[module]["return"], module
