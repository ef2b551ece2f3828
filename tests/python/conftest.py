"""The simulated camera program of the build, serving COM3 in a fresh port folder."""

import os
import signal
import subprocess

import pytest


class SimCamera:
    def __init__(self, port_dir, options=()):
        program = os.path.join(os.environ["ZR_SIM_DIR"], "zrk880_camsim")
        self.process = subprocess.Popen([program, *options, str(port_dir), "3"],
                                        stdout=subprocess.PIPE, text=True)
        # It prints its terminal once the COM3 entry is in place.
        self.device = self.process.stdout.readline().strip()
        assert self.device, "the simulated camera did not start"

    def pause(self):
        """The camera falls silent: it stops reading the line."""
        self.process.send_signal(signal.SIGSTOP)

    def stop(self):
        self.process.send_signal(signal.SIGCONT)
        self.process.terminate()
        self.process.wait()


@pytest.fixture
def sim(tmp_path, monkeypatch):
    """Starts the camera; the test opens "COM3" (or sim.device)."""
    ports = tmp_path / "ports"
    ports.mkdir()
    monkeypatch.setenv("ZRK880_PORT_DIR", str(ports))
    cameras = []

    def start(*options):
        cameras.append(SimCamera(ports, options))
        return cameras[-1]

    start.ports = ports
    yield start
    for camera in cameras:
        camera.stop()
