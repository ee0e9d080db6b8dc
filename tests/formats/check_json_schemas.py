#!/usr/bin/env python3
"""Every JSON kamorin-cli writes holds to the schema published for it.

usage: check_json_schemas.py KAMORIN_CLI SCHEMA_DIR

Runs each kind of output once (a run, a series, --threads, --rank and its
warning, --save, --history, --compare, --export) against a store of its own,
and validates it. "integer" means an integer as typed readers take it, by
its text: 3e+06 is refused though its value is whole, as Go's int and
Rust's u64 refuse it. Then checks that the schemas refuse such a count and a
missing member, so a schema grown lax is caught too. Exits 77 (skipped) when
python3-jsonschema is missing.
"""

import json
import os
import subprocess
import sys
import tempfile

try:
    import jsonschema
except ImportError:
    print("skipped: the Python module jsonschema is missing (Debian: python3-jsonschema)")
    sys.exit(77)

cli, schema_dir = sys.argv[1], sys.argv[2]
schemas = {}
for name in ("kamorin-cli.schema.json", "kamorin-results.schema.json"):
    with open(os.path.join(schema_dir, name), encoding="utf-8") as f:
        schema = json.load(f)
    schemas[name] = schema
CLI_ID = schemas["kamorin-cli.schema.json"]["$id"]
RESULTS_ID = schemas["kamorin-results.schema.json"]["$id"]

Draft = jsonschema.Draft202012Validator
for schema in schemas.values():
    Draft.check_schema(schema)
Typed = jsonschema.validators.extend(
    Draft,
    type_checker=Draft.TYPE_CHECKER.redefine(
        "integer", lambda _, v: isinstance(v, int) and not isinstance(v, bool)
    ),
)

# The one schema refers to the other by its $id: referencing (jsonschema
# 4.18 and later), else the RefResolver of Debian 12's 4.10.
try:
    from referencing import Registry, Resource

    registry = Registry().with_resources(
        (s["$id"], Resource.from_contents(s)) for s in schemas.values()
    )

    def validator(ref):
        # A whole schema as itself: a $ref to it would have its own $schema
        # pick the validator, which knows no typed integer.
        whole = {s["$id"]: s for s in schemas.values()}.get(ref)
        return Typed(whole or {"$ref": ref}, registry=registry)

except ImportError:
    store = {s["$id"]: s for s in schemas.values()}

    def validator(ref):
        root = store.get(ref) or {"$schema": Draft.META_SCHEMA["$id"], "$ref": ref}
        return Typed(root, resolver=jsonschema.RefResolver.from_schema(root, store=store))


RUN = CLI_ID + "#/$defs/run"
# A million passes, the shortest text of whose double is 1e+06: a count
# written as a real shows.
SHORT = ["--count=100", "--unit=万回", "--no-progress"]
# name, arguments, the schema it is checked against, the status it ends with
# and a member that shows the case did what it should.
CASES = [
    ("run", SHORT + ["--json"], RUN, 0, lambda o: o["settings"]["passes"] == 1000000),
    ("series saved a", SHORT + ["--runs=3", "--json", "--save", "--label=a"], RUN, 0,
     lambda o: len(o["runs"]) == 3 and o["saved_id"]),
    ("series saved b", SHORT + ["--runs=3", "--warmup=1", "--json", "--save", "--label=b"], RUN, 0,
     lambda o: o["saved_id"]),
    ("threads", SHORT + ["--threads=2", "--force-threads", "--json"], RUN, 0,
     lambda o: o["parallel"]["threads"] == 2),
    ("rank too short to trust", SHORT + ["--rank", "--json"], RUN, 0,
     lambda o: o["rank"]["rows"] and any(r["saved"] for r in o["rank"]["rows"])
     and {"kind": "runs_too_short", "minimum_seconds": 1, "figure": "rank"} in o["warnings"]
     and len(o["warnings"]) == len(o["system"]["warnings"])),
    ("history", ["--history", "--json"], CLI_ID + "#/$defs/history", 0,
     lambda h: len(h) == 2 and h[0]["settings"]["passes"] == 1000000),
    ("compare", ["--compare", "a", "b", "--json"], CLI_ID + "#/$defs/comparison", 0,
     lambda c: c["a_runs"] == 3),
    ("export", ["--export", "-"], RESULTS_ID, 0, lambda d: len(d["results"]) == 2),
]

failures = 0


def fail(what):
    global failures
    failures += 1
    print("FAIL:", what)


def errors(ref, document):
    return [f"{'/'.join(map(str, e.absolute_path))}: {e.message}"
            for e in validator(ref).iter_errors(document)]


with tempfile.TemporaryDirectory() as home:
    env = dict(os.environ, KAMORIN_STORE=os.path.join(home, "results.sqlite"),
               XDG_DATA_HOME=home, LC_ALL="C.UTF-8", LANGUAGE="")
    outputs = {}
    for name, arguments, ref, status, shows in CASES:
        run = subprocess.run([cli] + arguments, env=env, capture_output=True, text=True,
                             timeout=300)
        if run.returncode != status:
            fail(f"{name}: status {run.returncode}, not {status}: {run.stderr.strip()}")
            continue
        try:
            document = json.loads(run.stdout)
        except json.JSONDecodeError as e:
            fail(f"{name}: no JSON ({e}): {run.stdout[:200]!r}")
            continue
        for error in errors(ref, document):
            fail(f"{name}: {error}")
        if not shows(document):
            fail(f"{name}: not what the case is for: {run.stdout[:400]}")
        outputs[name] = (ref, run.stdout)

    # What the schemas must refuse: a count written as a real, an integer
    # member missing, a warning's figure missing.
    broken = [
        ("run", '"passes": 1000000,', '"passes": 1e+06,'),
        ("export", '"passes": 1000000,', '"passes": 1000000.0,'),
        ("history", '"passes": 1000000}', '"passes": 1e6}'),
        ("compare", '"a_runs": 3, ', ""),
        ("run", '"warnings": [', '"notices": ['),
        ("rank too short to trust", '"figure": "rank"', '"shape": "rank"'),
    ]
    for name, good, bad in broken:
        if name not in outputs:
            continue
        ref, text = outputs[name]
        if good not in text:
            fail(f"{name}: {good!r} is not in the output")
        elif not errors(ref, json.loads(text.replace(good, bad, 1))):
            fail(f"{name}: the schema takes {bad!r} for {good!r}")

print(f"{len(CASES)} outputs, {failures} failures")
sys.exit(1 if failures else 0)
