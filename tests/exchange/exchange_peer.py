#!/usr/bin/python3
"""Reads and writes the export and import tests' files with other programs' libraries.

    exchange_peer.py read-xlsx PATH            cells of the first sheet as JSON rows (openpyxl)
    exchange_peer.py read-dbf PATH             {"fields": [[name, type, width, decimals]...],
                                                "rows": [[...], ...]} (python3-dbf)
    exchange_peer.py read-csv PATH ENCODING    rows of a CSV file (the csv module)
    exchange_peer.py write-csv PATH ENCODING < rows.json
"""
import csv
import datetime
import json
import sys


def plain(v):
    if isinstance(v, (datetime.date, datetime.datetime)):
        return v.isoformat()
    if isinstance(v, str):
        return v.rstrip()
    return v


def read_xlsx(path):
    import openpyxl
    wb = openpyxl.load_workbook(path, read_only=True, data_only=True)
    ws = wb.worksheets[0]
    return [[c for c in row] for row in ws.iter_rows(values_only=True)]


def read_dbf(path):
    import dbf
    table = dbf.Table(path)
    table.open(dbf.READ_ONLY)
    fields = []
    for name in table.field_names:
        info = table.field_info(name)
        fields.append([name.upper(), chr(info.field_type), info.length, info.decimal])
    rows = [[plain(v) for v in record] for record in table]
    table.close()
    return {"fields": fields, "rows": rows}


def main():
    command, path = sys.argv[1], sys.argv[2]
    if command == "read-xlsx":
        json.dump(read_xlsx(path), sys.stdout, default=str)
    elif command == "read-dbf":
        json.dump(read_dbf(path), sys.stdout, default=str)
    elif command == "read-csv":
        with open(path, newline="", encoding=sys.argv[3]) as f:
            json.dump(list(csv.reader(f)), sys.stdout)
    elif command == "write-csv":
        rows = json.load(sys.stdin)
        with open(path, "w", newline="", encoding=sys.argv[3]) as f:
            csv.writer(f).writerows(rows)
    else:
        sys.exit("unknown command " + command)


if __name__ == "__main__":
    main()
