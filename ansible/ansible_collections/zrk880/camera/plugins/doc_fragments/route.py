# The options every module of the collection shares: how the camera is reached.


class ModuleDocFragment(object):

    DOCUMENTATION = r'''
options:
  route:
    description:
      - How the camera is reached, as the panel, C(zrk880ctl) and the Python
        module C(zrk880) name it.
      - C(COM3) is a COM port, resolved as the panel does (the entry C(COM3) in
        the port directory C($ZRK880_PORT_DIR), else the built-in mapping; set
        the variable with the task's C(environment) keyword).
      - A device path such as C(/dev/ttyUSB0) or C(/dev/serial/by-id/...).
      - C(rfc2217://HOST:PORT) is a network serial port speaking RFC 2217 (the
        line speed is set through it); C(socket://HOST:PORT) a raw TCP port whose
        line is set at the server (ser2net, a serial device server).
      - C(clall:N) is serial index N of the common Camera Link serial library,
        C(cllib:/path/libmaker.so) port 0 of a frame grabber maker's library.
    type: str
    required: true
  baud:
    description:
      - The line speed in bit/s, as set on the camera. A maker's Camera Link
        library keeps its own; a raw TCP port has it set at the server.
    type: int
    default: 9600
    choices: [9600, 19200, 38400, 115200]
requirements:
  - The Python module C(zrk880) (Debian package C(python3-zrk880)) on the host the module runs on.
notes:
  - A failure (a camera that does not answer, a port that does not open, bad
    input) fails the task with the message the panel shows in its box, such as
    C(There is no [ACK]) or C(Port Open Error); C(error) names its kind.
'''
