#!/usr/bin/python
# The camera holds the settings it is given; only what differs is written.

from __future__ import absolute_import, division, print_function
__metaclass__ = type

DOCUMENTATION = r'''
module: zrk880_settings
short_description: A ZR-K880TM camera holds these settings
description:
  - Compares the camera's user settings with a settings file (the JSON or CSV
    file the panel's Save Settings to File and C(zrk880ctl dump) write) or with
    a map of setting names to values, and writes the settings that differ, in
    row order, as the panel's Write To Camera does.
  - The whole input is checked (names, rows, ranges, camera model) before
    anything is read or written.
  - The rows of setting memory load and save and of the factory setting are
    never written and never count as a difference, as with C(zrk880ctl restore).
  - C(changed) is true only when the camera differed. In check mode the camera
    is only read, and the task reports what would change.
version_added: 1.1.2
author: The ZR-K880TM Control developers
extends_documentation_fragment: zrk880.camera.route
options:
  path:
    description:
      - A settings file on the host the module runs on (JSON, or CSV for a
        C(.csv) name), as the panel and C(zrk880ctl dump) write it.
      - Exactly one of I(path) and I(settings) is given.
    type: path
  settings:
    description:
      - "Settings by name (as C(zrk880ctl names) lists them) or by row number,
        each with its whole-number value, such as C(gain_level: 120)."
    type: dict
attributes:
  check_mode:
    support: full
  diff_mode:
    support: full
'''

EXAMPLES = r'''
- name: The camera holds the golden settings
  zrk880.camera.zrk880_settings:
    route: rfc2217://line7-pc:4001
    baud: 115200
    path: /srv/cameras/golden.json

- name: This station's own gain
  zrk880.camera.zrk880_settings:
    route: COM3
    settings:
      gain_level: 120
      shutter_speed: 3
  environment:
    ZRK880_PORT_DIR: /etc/zrk880/ports
'''

RETURN = r'''
differences:
  description: The settings where the camera differed, with the camera's value and the wanted one.
  returned: success
  type: dict
  sample: {"gain_level": {"camera": 0, "wanted": 120}}
written:
  description: The number of settings written (0 in check mode or when nothing differed).
  returned: success
  type: int
  sample: 1
'''

import pathlib

from ansible.module_utils.basic import AnsibleModule
from ansible_collections.zrk880.camera.plugins.module_utils.camera import (
    route_argument_spec, run_on_camera, zrk880)


def whole_numbers(module, settings):
    """YAML and templates may give a value as a string ("120"); the settings
    file wants numbers."""
    wanted = {}
    for key, value in settings.items():
        if isinstance(value, str) and value.strip().lstrip('+-').isdigit():
            value = int(value)
        if isinstance(value, bool) or not isinstance(value, int):
            module.fail_json(msg='settings: %s: %r is not a whole number' % (key, value))
        wanted[str(key)] = value
    return wanted


def diff_text(differences, side):
    return ''.join('%s: %d\n' % (name, values[side]) for name, values in differences.items())


def main():
    module = AnsibleModule(
        argument_spec=route_argument_spec(
            path=dict(type='path'),
            settings=dict(type='dict'),
        ),
        mutually_exclusive=[('path', 'settings')],
        required_one_of=[('path', 'settings')],
        supports_check_mode=True,
    )
    if module.params['path'] is not None:
        # A Path, so a file name holding a comma is never taken for a settings text.
        wanted = pathlib.Path(module.params['path'])
        source = module.params['path']
    else:
        wanted = whole_numbers(module, module.params['settings'])
        if not wanted:
            module.fail_json(msg='settings: no settings given')
        source = 'settings'

    def work(camera):
        found = camera.diff(wanted)
        ordered = sorted(found.items(), key=lambda item: zrk880.setting(item[0])[0])
        differences = dict((name, {'camera': now, 'wanted': then})
                           for name, (now, then) in ordered)
        result = dict(changed=bool(differences), differences=differences, written=0)
        if module._diff:
            result['diff'] = dict(before=diff_text(differences, 'camera'),
                                  after=diff_text(differences, 'wanted'),
                                  before_header='%s (camera)' % module.params['route'],
                                  after_header=source)
        if differences and not module.check_mode:
            result['written'] = camera.restore(
                dict((name, values['wanted']) for name, values in differences.items()))
        return result

    run_on_camera(module, work)


if __name__ == '__main__':
    main()
