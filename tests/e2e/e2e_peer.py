"""The other side of the end-to-end tests, with python3-dbf and python3-openpyxl.

    e2e_peer.py check
        exit 0 when the dbf and openpyxl modules can be imported
    e2e_peer.py competition FOLDER NAME NUMADJS NUMROUNDS NO:SEQ:NAME:SCHOOL ...
        NAME.dbf and NAME_inf.dbf in FOLDER copied from its templates, with these dancers
        (in this entry order) and an info record for NUMADJS adjudicators and NUMROUNDS
        rounds, adjudicators "Judge A".., round titles "Round 1".. and "Set Dance"
    e2e_peer.py read TABLE FIELD ...
        every live record's COMP_NO (where the table has one) and the fields, as JSON,
        in entry order
    e2e_peer.py xlsx FILE NO:NAME:SCHOOL ...
        a one-sheet workbook with a heading row and these dancers
"""
import json
import shutil
import sys


def competition(folder, name, numadjs, numrounds, dancers):
    import dbf
    results = f"{folder}/{name}.dbf"
    info = f"{folder}/{name}_inf.dbf"
    shutil.copyfile(f"{folder}/template.DBF", results)
    shutil.copyfile(f"{folder}/template_inf.dbf", info)
    table = dbf.Table(results)
    table.open(dbf.READ_WRITE)
    for dancer in dancers:
        number, sequence, dancer_name, school = dancer.split(":")
        table.append({"comp_no": int(number), "sequence": int(sequence),
                      "name": dancer_name, "school": school})
    table.close()
    table = dbf.Table(info)
    table.open(dbf.READ_WRITE)
    values = {"compno": "7", "compname": "Under 12 Girls", "numadjs": numadjs,
              "numrounds": numrounds}
    for letter in "ABCDE":
        values[f"adj{letter.lower()}name"] = f"Judge {letter}"
        values[f"adj{letter.lower()}from"] = "Dublin"
    for r in range(1, 4):
        values[f"rd{r}title"] = f"Round {r}"
    values["rd4title"] = "Set Dance"
    if len(table) == 0:
        table.append(values)
    else:
        with table[0] as record:
            for field, value in values.items():
                record[field] = value
    table.close()


def as_json(value):
    if isinstance(value, str):
        return value.rstrip()
    if isinstance(value, bool) or value is None:
        return value
    if isinstance(value, (int, float)):
        return float(value)
    return str(value)


def read(path, fields):
    import dbf
    table = dbf.Table(path)
    table.open(dbf.READ_ONLY)
    records = []
    for record in table:
        if dbf.is_deleted(record):
            continue
        row = {"COMP_NO": as_json(record["comp_no"])} if "comp_no" in table.field_names else {}
        for field in fields:
            row[field] = as_json(record[field.lower()])
        records.append(row)
    table.close()
    print(json.dumps(records))


def xlsx(path, dancers):
    import openpyxl
    book = openpyxl.Workbook()
    sheet = book.active
    sheet.append(["No", "Name", "School"])
    for dancer in dancers:
        number, dancer_name, school = dancer.split(":")
        sheet.append([int(number), dancer_name, school])
    book.save(path)


def main():
    command = sys.argv[1]
    if command == "check":
        import dbf  # noqa: F401
        import openpyxl  # noqa: F401
        print("ok")
    elif command == "competition":
        competition(*sys.argv[2:6], sys.argv[6:])
    elif command == "read":
        read(sys.argv[2], sys.argv[3:])
    elif command == "xlsx":
        xlsx(sys.argv[2], sys.argv[3:])
    else:
        sys.exit(f"unknown command {command}")


if __name__ == "__main__":
    main()
