"""Writes dBASE III tables with python3-dbf, as another program would, for the table-shape
tests. Reads a JSON list from standard input, one entry a table:

    {"path": "...", "fields": "SEQUENCE N(5,0); NAME C(40); ...",
     "records": [{"NAME": "Aoife", "A1": 80}, ...]}

Fields a record leaves out stay empty. Exits 0 when every table was written.
"""
import json
import sys


def main():
    import dbf
    for entry in json.load(sys.stdin):
        table = dbf.Table(entry["path"], entry["fields"], dbf_type="db3", codepage="cp1252")
        table.open(dbf.READ_WRITE)
        for values in entry["records"]:
            table.append({name.lower(): value for name, value in values.items()})
        table.close()
    return 0


if __name__ == "__main__":
    sys.exit(main())
