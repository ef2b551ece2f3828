# What every module of the collection shares: the route options, opening the
# camera and turning the Python module's exceptions into task failures.

from __future__ import absolute_import, division, print_function
__metaclass__ = type

import traceback

try:
    import zrk880
    HAS_ZRK880 = True
    ZRK880_IMPORT_ERROR = None
except ImportError:
    zrk880 = None
    HAS_ZRK880 = False
    ZRK880_IMPORT_ERROR = traceback.format_exc()

from ansible.module_utils.basic import missing_required_lib

ROUTE_ARGUMENT_SPEC = dict(
    route=dict(type='str', required=True),
    baud=dict(type='int', default=9600, choices=[9600, 19200, 38400, 115200]),
)


def route_argument_spec(**more):
    arguments = dict(ROUTE_ARGUMENT_SPEC)
    arguments.update(more)
    return arguments


def require_zrk880(module):
    if not HAS_ZRK880:
        module.fail_json(msg=missing_required_lib('zrk880 (Debian package python3-zrk880)'),
                         exception=ZRK880_IMPORT_ERROR)


def fail(module, error, **result):
    """The task fails with the camera's message, as the panel's box shows it."""
    module.fail_json(msg=str(error), error=type(error).__name__, **result)


def run_on_camera(module, work):
    """Opens the camera named by the task, calls work(camera) and ends the task
    with the dict it returns; any failure of the camera ends it failed."""
    require_zrk880(module)
    try:
        with zrk880.open(module.params['route'], baud=module.params['baud']) as camera:
            result = work(camera)
    except zrk880.Error as error:
        fail(module, error)
    module.exit_json(**result)
