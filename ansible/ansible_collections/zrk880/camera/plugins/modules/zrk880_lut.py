#!/usr/bin/python
# The camera's look-up tables equal a CSV file: read, compare, write on a difference.

from __future__ import absolute_import, division, print_function
__metaclass__ = type

DOCUMENTATION = r'''
module: zrk880_lut
short_description: A ZR-K880TM camera's look-up tables equal a CSV file
description:
  - Reads the camera's three look-up tables (red, green, blue, 256 entries
    each) as the editor's READ does, compares them with a table file, and
    writes all three as the editor's WRITE does when any entry differs.
  - The file is the editor's format (three lines of 256 comma-separated values
    0..255), checked whole before the camera is opened.
  - C(changed) is true only when the camera differed. In check mode the camera
    is only read.
  - A walk is 768 exchanges; at 9600 bit/s reading takes about 25 seconds,
    at 115200 bit/s about 2.
version_added: 1.1.2
author: The ZR-K880TM Control developers
extends_documentation_fragment: zrk880.camera.route
options:
  path:
    description:
      - The table file on the host the module runs on.
    type: path
    required: true
attributes:
  check_mode:
    support: full
  diff_mode:
    support: full
'''

EXAMPLES = r'''
- name: The camera's look-up tables are the line's gamma curve
  zrk880.camera.zrk880_lut:
    route: socket://line7-pc:4002
    path: /srv/cameras/gamma.csv
'''

RETURN = r'''
differing_entries:
  description: How many entries of each table differed from the file.
  returned: success
  type: dict
  sample: {"red": 12, "green": 0, "blue": 0}
'''

from ansible.module_utils.basic import AnsibleModule
from ansible_collections.zrk880.camera.plugins.module_utils.camera import (
    fail, require_zrk880, route_argument_spec, run_on_camera, zrk880)

CHANNELS = ('red', 'green', 'blue')


def diff_text(entries):
    return ''.join('%s %d: %d\n' % (CHANNELS[channel], index, value)
                   for channel, index, value in entries)


def main():
    module = AnsibleModule(
        argument_spec=route_argument_spec(path=dict(type='path', required=True)),
        supports_check_mode=True,
    )
    require_zrk880(module)
    try:
        wanted = zrk880.load_lut_csv(module.params['path'])
    except zrk880.Error as error:
        fail(module, error)

    def work(camera):
        current = camera.lut.read()
        differing = [(channel, index) for channel in range(3) for index in range(256)
                     if current[channel][index] != wanted[channel][index]]
        result = dict(changed=bool(differing),
                      differing_entries=dict((name, sum(1 for c, _ in differing if c == n))
                                             for n, name in enumerate(CHANNELS)))
        if module._diff:
            result['diff'] = dict(
                before=diff_text((c, i, current[c][i]) for c, i in differing),
                after=diff_text((c, i, wanted[c][i]) for c, i in differing),
                before_header='%s (camera)' % module.params['route'],
                after_header=module.params['path'])
        if differing and not module.check_mode:
            camera.lut.write(wanted)
        return result

    run_on_camera(module, work)


if __name__ == '__main__':
    main()
