"""The other side of the interop tests: python3-dbf reading and writing dBASE III tables.

    dbf_peer.py read TABLE    print every live record as JSON (fields by name)
    dbf_peer.py write TABLE   write the reference table below and print it as JSON
    dbf_peer.py check         exit 0 when the dbf module can be imported
"""
import datetime
import json
import sys


def as_json(value):
    if isinstance(value, str):
        return value.rstrip()
    if isinstance(value, (datetime.date, datetime.datetime)):
        return value.strftime("%Y%m%d")
    if isinstance(value, bool) or value is None:
        return value
    if isinstance(value, (int, float)):
        return float(value)
    return str(value)


def read(path):
    import dbf
    table = dbf.Table(path)
    table.open(dbf.READ_ONLY)
    names = [n.upper() for n in table.field_names]
    records = []
    for record in table:
        if dbf.is_deleted(record):
            continue
        records.append({name: as_json(record[name.lower()]) for name in names})
    table.close()
    return {"fields": names, "records": records}


REFERENCE = [
    ("Seán Ó Dálaigh", 81.255, -1.5, True, datetime.date(2024, 5, 1), 12),
    ("Bríd Ní Mháille", 0.0, 100.125, False, None, 1),
    ("", None, None, None, None, None),
    ("€ ‘quoted’ Œuvre", -0.5, 0.001, True, datetime.date(1999, 12, 31), 99999),
]


def write(path):
    import dbf
    table = dbf.Table(path, "NAME C(40); MARK N(10,4); PTS F(12,3); OK L; DAY D; SEQ N(5,0)",
                      dbf_type="db3", codepage="cp1252")
    table.open(dbf.READ_WRITE)
    for row in REFERENCE:
        table.append(row)
    # A deleted record that readers must not show.
    table.append(("deleted", 1.0, 1.0, True, None, 7))
    dbf.delete(table[-1])
    table.close()
    return read(path)


def main():
    if sys.argv[1:] == ["check"]:
        import dbf  # noqa: F401
        return 0
    command, path = sys.argv[1], sys.argv[2]
    result = read(path) if command == "read" else write(path)
    sys.stdout.write(json.dumps(result, ensure_ascii=True))
    return 0


if __name__ == "__main__":
    sys.exit(main())
