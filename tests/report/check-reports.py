#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
# Validates every JSON report the tests left in a folder against the report's
# JSON Schema, with Debian's python3-jsonschema.
#   check-reports.py SCHEMA FOLDER MINIMUM
import json
import pathlib
import sys

import jsonschema

schema_path, folder, minimum = sys.argv[1], pathlib.Path(sys.argv[2]), int(sys.argv[3])
schema = json.loads(pathlib.Path(schema_path).read_text(encoding="utf-8"))
jsonschema.Draft202012Validator.check_schema(schema)
validator = jsonschema.Draft202012Validator(schema)

reports = sorted(folder.glob("*.json"))
if len(reports) < minimum:
    sys.exit(f"FAIL: {len(reports)} reports in {folder}, expected at least {minimum}")
failed = 0
for report in reports:
    errors = list(validator.iter_errors(json.loads(report.read_text(encoding="utf-8"))))
    for error in errors[:5]:
        path = "/".join(str(part) for part in error.absolute_path)
        print(f"FAIL: {report.name}: {path}: {error.message}")
    failed += bool(errors)
print(f"{len(reports) - failed} passed, {failed} failed")
sys.exit(1 if failed else 0)
