#!/usr/bin/python3
"""Writes spreadsheet files for the import tests, with the libraries other programs use.

    sheet_peer.py check                  exit 0 when openpyxl and xlwt are installed
    sheet_peer.py KIND OUT < sheets.json

sheets.json: [{"name": "Dancers", "rows": [[101, "Aoife", "St Anne's"], [null, ...]]}, ...]
(null is an empty cell). KIND is one of:
    xlsx            written by openpyxl (python3-openpyxl)
    xls             written by xlwt (python3-xlwt), Excel 97-2003
    ods             OpenDocument, laid out as LibreOffice Calc writes it
    xls-password    xlwt's file with a FILEPASS record: a file saved with a password
    xlsx-encrypted  a compound file holding an EncryptedPackage stream, as Excel writes
                    a workbook saved with a password to open
    ods-encrypted   an .ods whose manifest says its parts are encrypted
    xlsx-badxml     openpyxl's file with the sheet's XML cut off half-way
    xlsx-shared     openpyxl's file with its texts moved into a shared string table, as
                    Excel writes them: every second one in formatted runs with a
                    phonetic guide
    xlsx-badstring  xlsx-shared with a cell naming a shared text that does not exist
    zip-other       a zip file that is no spreadsheet
"""
import io
import json
import random
import struct
import sys
import zipfile
from xml.sax.saxutils import escape, quoteattr


def write_xlsx(sheets, out):
    import openpyxl
    wb = openpyxl.Workbook()
    wb.remove(wb.active)
    for sheet in sheets:
        ws = wb.create_sheet(sheet["name"])
        for row in sheet["rows"]:
            ws.append(row)
    wb.save(out)


def xls_workbook(sheets):
    import xlwt
    wb = xlwt.Workbook(encoding="utf-8")
    for sheet in sheets:
        ws = wb.add_sheet(sheet["name"])
        for r, row in enumerate(sheet["rows"]):
            for c, value in enumerate(row):
                if value is not None:
                    ws.write(r, c, value)
    return wb


def write_xls(sheets, out):
    xls_workbook(sheets).save(out)


def biff_records(data):
    pos = 0
    while pos + 4 <= len(data):
        rtype, length = struct.unpack_from("<HH", data, pos)
        yield pos, rtype, length
        pos += 4 + length


def write_xls_password(sheets, out):
    from xlwt.CompoundDoc import XlsDoc
    data = bytearray(xls_workbook(sheets).get_biff_data())
    # FILEPASS (0x002F) right after the workbook's BOF, XOR obfuscation.
    filepass = struct.pack("<HHHHH", 0x002F, 6, 0, 0x1234, 0x5678)
    first = next(biff_records(data))
    insert_at = 4 + first[2]
    data[insert_at:insert_at] = filepass
    # Every BOUNDSHEET names its sheet's place in the stream, which moved along.
    for pos, rtype, length in biff_records(data):
        if rtype == 0x0085:
            offset = struct.unpack_from("<I", data, pos + 4)[0]
            struct.pack_into("<I", data, pos + 4, offset + len(filepass))
    XlsDoc().save(out, bytes(data))


def write_xlsx_encrypted(sheets, out):
    buffer = io.BytesIO()
    write_xls(sheets, buffer)
    data = bytearray(buffer.getvalue())
    name = "Workbook".encode("utf-16-le")
    at = data.find(name)
    assert at >= 0
    new_name = "EncryptedPackage".encode("utf-16-le") + b"\0\0"
    data[at:at + 64] = new_name.ljust(64, b"\0")
    struct.pack_into("<H", data, at + 64, len(new_name))
    with open(out, "wb") as f:
        f.write(data)


def ods_cell(value):
    if value is None:
        return "<table:table-cell/>"
    if isinstance(value, bool):
        text = "TRUE" if value else "FALSE"
        return ('<table:table-cell office:value-type="boolean" office:boolean-value="%s" '
                'calcext:value-type="boolean"><text:p>%s</text:p></table:table-cell>'
                % ("true" if value else "false", text))
    if isinstance(value, (int, float)):
        return ('<table:table-cell office:value-type="float" office:value="%s" '
                'calcext:value-type="float"><text:p>%s</text:p></table:table-cell>'
                % (repr(value), value))
    # Calc writes runs of spaces as <text:s/> and line breaks as separate paragraphs.
    paragraphs = []
    for line in value.split("\n"):
        out = []
        i = 0
        while i < len(line):
            if line[i] == " " and (i == 0 or line[i - 1] == " " or i + 1 == len(line)):
                j = i
                while j < len(line) and line[j] == " ":
                    j += 1
                n = j - i
                out.append('<text:s text:c="%d"/>' % n if n > 1 else "<text:s/>")
                i = j
            else:
                out.append(escape(line[i]))
                i += 1
        paragraphs.append("<text:p>%s</text:p>" % "".join(out))
    return ('<table:table-cell office:value-type="string" calcext:value-type="string">%s'
            '</table:table-cell>' % "".join(paragraphs))


def ods_content(sheets):
    tables = []
    for sheet in sheets:
        rows = []
        for row in sheet["rows"]:
            cells = "".join(ods_cell(v) for v in row)
            rows.append('<table:table-row table:style-name="ro1">%s'
                        '<table:table-cell table:number-columns-repeated="%d"/></table:table-row>'
                        % (cells, 1024 - len(row)))
        # Calc closes every sheet with the empty rest of the sheet in one repeated row.
        rows.append('<table:table-row table:style-name="ro1" table:number-rows-repeated="%d">'
                    '<table:table-cell table:number-columns-repeated="1024"/></table:table-row>'
                    % (1048576 - len(sheet["rows"])))
        tables.append('<table:table table:name=%s table:style-name="ta1">'
                      '<table:table-column table:style-name="co1" '
                      'table:number-columns-repeated="1024" table:default-cell-style-name="Default"/>'
                      '%s</table:table>' % (quoteattr(sheet["name"]), "".join(rows)))
    return ('<?xml version="1.0" encoding="UTF-8"?>\n'
            '<office:document-content '
            'xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" '
            'xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0" '
            'xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0" '
            'xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0" '
            'xmlns:calcext="urn:org:documentfoundation:names:experimental:calc:xmlns:calcext:1.0" '
            'office:version="1.3">'
            '<office:automatic-styles><style:style style:name="co1" style:family="table-column"/>'
            '<style:style style:name="ro1" style:family="table-row"/>'
            '<style:style style:name="ta1" style:family="table"/></office:automatic-styles>'
            '<office:body><office:spreadsheet>'
            '<table:calculation-settings table:automatic-find-labels="false"/>'
            '%s<table:named-expressions/></office:spreadsheet></office:body>'
            '</office:document-content>' % "".join(tables)).encode("utf-8")


MANIFEST = ('<?xml version="1.0" encoding="UTF-8"?>\n'
            '<manifest:manifest xmlns:manifest="urn:oasis:names:tc:opendocument:xmlns:manifest:1.0" '
            'manifest:version="1.3">'
            '<manifest:file-entry manifest:full-path="/" manifest:version="1.3" '
            'manifest:media-type="application/vnd.oasis.opendocument.spreadsheet"/>'
            '<manifest:file-entry manifest:full-path="content.xml" manifest:media-type="text/xml"%s'
            '</manifest:manifest>')


def write_ods(sheets, out, encrypted=False):
    with zipfile.ZipFile(out, "w") as z:
        # The media type comes first and unpacked, so the type can be told from the head.
        z.writestr(zipfile.ZipInfo("mimetype"), "application/vnd.oasis.opendocument.spreadsheet",
                   compress_type=zipfile.ZIP_STORED)
        if encrypted:
            random.seed(7)
            content = bytes(random.getrandbits(8) for _ in range(2000))
            entry = ('><manifest:encryption-data manifest:checksum-type="SHA1/1K" '
                     'manifest:checksum="AAAA"><manifest:algorithm '
                     'manifest:algorithm-name="Blowfish CFB" manifest:initialisation-vector="AAAA"/>'
                     '</manifest:encryption-data></manifest:file-entry>')
        else:
            content = ods_content(sheets)
            entry = "/>"
        z.writestr("content.xml", content, compress_type=zipfile.ZIP_DEFLATED)
        z.writestr("META-INF/manifest.xml", MANIFEST % entry, compress_type=zipfile.ZIP_DEFLATED)


def rewrite_member(path, member, change):
    with zipfile.ZipFile(path) as z:
        items = [(i, z.read(i.filename)) for i in z.infolist()]
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as z:
        for info, data in items:
            if info.filename == member:
                data = change(data)
            z.writestr(info, data)


def share_strings(path, bad_index=False):
    import html
    import re
    strings = []

    def to_shared(match):
        strings.append(html.unescape(match.group(2)))
        index = 999 if bad_index and len(strings) == 1 else len(strings) - 1
        return '<c r="%s" t="s"><v>%d</v></c>' % (match.group(1), index)

    def sheet(data):
        text = data.decode("utf-8")
        text = re.sub(r'<c r="([A-Z]+[0-9]+)" t="inlineStr"><is><t(?: [^>]*)?>(.*?)</t></is></c>',
                      to_shared, text, flags=re.S)
        return text.encode("utf-8")

    rewrite_member(path, "xl/worksheets/sheet1.xml", sheet)
    items = []
    for i, s in enumerate(strings):
        if i % 2 and len(s) > 1:
            half = len(s) // 2
            items.append('<si><r><rPr><b/></rPr><t xml:space="preserve">%s</t></r>'
                         '<r><t xml:space="preserve">%s</t></r>'
                         '<rPh sb="0" eb="1"><t>PHONETIC</t></rPh></si>'
                         % (escape(s[:half]), escape(s[half:])))
        else:
            items.append('<si><t xml:space="preserve">%s</t></si>' % escape(s))
    sst = ('<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'
           '<sst xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" '
           'count="%d" uniqueCount="%d">%s</sst>' % (len(items), len(items), "".join(items)))
    rewrite_member(path, "xl/_rels/workbook.xml.rels", lambda d: d.replace(
        b"</Relationships>",
        b'<Relationship Id="rIdSST" Type="http://schemas.openxmlformats.org/officeDocument/2006/'
        b'relationships/sharedStrings" Target="sharedStrings.xml"/></Relationships>'))
    rewrite_member(path, "[Content_Types].xml", lambda d: d.replace(
        b"</Types>",
        b'<Override PartName="/xl/sharedStrings.xml" ContentType="application/'
        b'vnd.openxmlformats-officedocument.spreadsheetml.sharedStrings+xml"/></Types>'))
    with zipfile.ZipFile(path, "a", zipfile.ZIP_DEFLATED) as z:
        z.writestr("xl/sharedStrings.xml", sst)


def main():
    kind = sys.argv[1]
    if kind == "check":
        import openpyxl  # noqa: F401
        import xlwt  # noqa: F401
        return 0
    out = sys.argv[2]
    sheets = json.load(sys.stdin)
    if kind == "xlsx":
        write_xlsx(sheets, out)
    elif kind == "xls":
        write_xls(sheets, out)
    elif kind == "ods":
        write_ods(sheets, out)
    elif kind == "xls-password":
        write_xls_password(sheets, out)
    elif kind == "xlsx-encrypted":
        write_xlsx_encrypted(sheets, out)
    elif kind == "ods-encrypted":
        write_ods(sheets, out, encrypted=True)
    elif kind == "xlsx-badxml":
        write_xlsx(sheets, out)
        rewrite_member(out, "xl/worksheets/sheet1.xml", lambda d: d[:len(d) // 2])
    elif kind == "xlsx-shared":
        write_xlsx(sheets, out)
        share_strings(out)
    elif kind == "xlsx-badstring":
        write_xlsx(sheets, out)
        share_strings(out, bad_index=True)
    elif kind == "zip-other":
        with zipfile.ZipFile(out, "w") as z:
            z.writestr("readme.txt", "not a spreadsheet")
    else:
        print("unknown kind " + kind, file=sys.stderr)
        return 2
    return 0


if __name__ == "__main__":
    sys.exit(main())
