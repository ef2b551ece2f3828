#!/usr/bin/python
# What a camera is and holds, as facts for inventories and reports.

from __future__ import absolute_import, division, print_function
__metaclass__ = type

DOCUMENTATION = r'''
module: zrk880_facts
short_description: Identity, temperature and settings of a ZR-K880TM camera as facts
description:
  - Reads the camera's identity texts (vendor, model, serial number, CPU and
    FPGA versions, as the adjustment window shows them), its temperature and
    the snapshot of its user settings, and returns them as the fact C(zrk880).
  - Only reads; the same in check mode.
version_added: 1.1.2
author: The ZR-K880TM Control developers
extends_documentation_fragment: zrk880.camera.route
options:
  gather:
    description:
      - What to read. The settings are 53 exchanges, the identity texts up to 24.
    type: list
    elements: str
    choices: [identity, temperature, settings]
    default: [identity, temperature, settings]
attributes:
  check_mode:
    support: full
  facts:
    support: full
'''

EXAMPLES = r'''
- name: What the station's camera is
  zrk880.camera.zrk880_facts:
    route: rfc2217://line7-pc:4001

- name: Report it
  ansible.builtin.debug:
    msg: "{{ zrk880.identity.serial_number }} at {{ zrk880.temperature }} degrees"
'''

RETURN = r'''
ansible_facts:
  description: Facts about the camera.
  returned: always
  type: dict
  contains:
    zrk880:
      description: The camera's route and what was gathered.
      type: dict
      returned: always
      sample:
        route: COM3
        identity: {vendor: CAMSIM, model: ZR-K880TM, serial_number: SIM00001,
                   cpu_version: "1.002", fpga_version: "01.05"}
        temperature: 25.3
        temperature_tenths: 253
        settings: {trigger_mode: 0, gain_level: 120}
'''

from ansible.module_utils.basic import AnsibleModule
from ansible_collections.zrk880.camera.plugins.module_utils.camera import (
    route_argument_spec, run_on_camera)


def main():
    module = AnsibleModule(
        argument_spec=route_argument_spec(
            gather=dict(type='list', elements='str',
                        choices=['identity', 'temperature', 'settings'],
                        default=['identity', 'temperature', 'settings']),
        ),
        supports_check_mode=True,
    )
    gather = module.params['gather']

    def work(camera):
        facts = dict(route=module.params['route'])
        if 'identity' in gather:
            facts['identity'] = camera.identity()
        if 'temperature' in gather:
            tenths = camera.get('temperature')
            facts['temperature_tenths'] = tenths
            facts['temperature'] = tenths / 10.0
        if 'settings' in gather:
            facts['settings'] = camera.dump()
        return dict(changed=False, ansible_facts=dict(zrk880=facts))

    run_on_camera(module, work)


if __name__ == '__main__':
    main()
