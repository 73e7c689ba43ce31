#!/usr/bin/python3
"""Reads a .docx with python-docx and prints what the Word report tests compare, as JSON:
the paragraphs' texts, every table as rows of cell texts, the number of pictures, and whether a
content control (w:sdt) is left in the body."""
import json
import sys

import docx

document = docx.Document(sys.argv[1])
body = document.element.body
tables = []
for table in document.tables:
    rows = []
    for row in table.rows:
        cells = []
        seen = set()
        for cell in row.cells:
            # A cell spanning columns is returned once per column.
            if id(cell._tc) in seen:
                continue
            seen.add(id(cell._tc))
            cells.append(cell.text)
        rows.append(cells)
    tables.append(rows)
print(json.dumps({
    "paragraphs": [p.text for p in document.paragraphs],
    "tables": tables,
    "pictures": len(document.inline_shapes),
    "contentControls": len(body.xpath(".//w:sdt")),
}, ensure_ascii=False))
