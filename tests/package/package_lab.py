"""What both package tests ask of an installed CLI: a diagnosis of a small lab product (a relay and a web
server) through the Linux-native product lab on 127.0.0.1."""
import json
import os
import subprocess

SCENARIO = {
    "web": {"https_port": 0, "checklist": {
        "product title": "Quenmora Lab", "product path agent": "/opt/lab/agent",
        "product path viewer": "/opt/lab/viewer", "agent log path": "/opt/lab/agent/Log",
        "session": ["127.0.0.1:{session}"], "web": ["127.0.0.1:{web}"]}},
    "relays": [{"name": "session", "port": "low"}],
    "http": [{"name": "web", "steps": [{"status": 200}]}],
}


def diagnose_lab_product(lab, work, run_cli):
    """Starts the lab, calls run_cli(web_host, web_port) -> CompletedProcess and returns what it gave."""
    scenario_path = os.path.join(work, "scenario.json")
    with open(scenario_path, "w", encoding="utf-8") as out:
        json.dump(SCENARIO, out)
    # The lab stops when its standard input closes, so it cannot outlive the test.
    with subprocess.Popen([lab, scenario_path], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                          stderr=subprocess.DEVNULL, text=True) as running:
        try:
            ports = json.loads(running.stdout.readline() or "null")
            if ports is None:
                raise RuntimeError("the lab printed no ports")
            return run_cli("127.0.0.1", ports["web_https"])
        finally:
            running.stdin.close()
            running.wait(timeout=60)


def check_lab_diagnosis(test, diagnosed):
    """The relay and web checks pass; only the account check may fail (a user without administrator
    rights), and the exit status and failure count say so."""
    test.assertIn(diagnosed.returncode, (0, 1), diagnosed.stderr)
    result = json.loads(diagnosed.stdout)
    test.assertTrue(result["completed"])
    by_kind = {item["kind"]: item for item in result["items"]}
    test.assertEqual(by_kind["session"]["result"], 0, "the relay handshake works from the package")
    test.assertEqual(by_kind["web"]["result"], 0)
    account_failed = by_kind["account"]["result"] != 0
    test.assertEqual(result["failures"], int(account_failed))
    test.assertEqual(diagnosed.returncode, int(account_failed))
