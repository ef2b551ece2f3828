# Records every task result and the recap of a playbook run as JSON, for the
# test to read (ansible-core has no JSON callback of its own).

from __future__ import absolute_import, division, print_function
__metaclass__ = type

import json
import os

from ansible.plugins.callback import CallbackBase

DOCUMENTATION = '''
name: record
type: aggregate
short_description: task results and the recap as JSON in $ZR_ANSIBLE_RECORD
description: Test helper.
'''


class CallbackModule(CallbackBase):
    CALLBACK_VERSION = 2.0
    CALLBACK_TYPE = 'aggregate'
    CALLBACK_NAME = 'record'
    CALLBACK_NEEDS_ENABLED = True

    def __init__(self):
        super(CallbackModule, self).__init__()
        self.results = {}

    def _record(self, result, **status):
        entry = dict(result._result, **status)
        self.results.setdefault(result._host.get_name(), {})[result._task.get_name()] = entry

    def v2_runner_on_ok(self, result):
        self._record(result)

    def v2_runner_on_failed(self, result, ignore_errors=False):
        self._record(result, failed=True)

    def v2_runner_on_unreachable(self, result):
        self._record(result, unreachable=True)

    def v2_playbook_on_stats(self, stats):
        recap = dict((host, stats.summarize(host)) for host in sorted(stats.processed))
        with open(os.environ['ZR_ANSIBLE_RECORD'], 'w') as out:
            json.dump(dict(results=self.results, stats=recap), out, default=str)
