"""Independent readers and writers of dBase tables for the engine's compatibility tests.

  dbf_oracle.py dbfread <table> [enc]  prints the visible records as read by dbfread
  dbf_oracle.py dbf <table>            prints the visible records as read by the dbf package
  dbf_oracle.py dbf-write <table>      writes a dBase III table with the dbf package (fields below)

Records are printed as JSON: {"fields": [...], "records": [[...], ...]}; dates as "YYYY-MM-DD", numbers as
numbers, empty values as null, memos as text.
"""
import datetime
import decimal
import json
import sys


def plain(value):
    if value is None:
        return None
    if isinstance(value, bytes):
        return value.hex()
    if isinstance(value, datetime.datetime):
        return value.isoformat()
    if isinstance(value, datetime.date):
        return value.isoformat()
    if isinstance(value, decimal.Decimal):
        return float(value)
    if isinstance(value, str):
        value = value.rstrip(' ')
        return value if value != '' else None
    return value


def read_dbfread(path, encoding=None):
    import dbfread
    table = dbfread.DBF(path, load=True, encoding=encoding, char_decode_errors='strict')
    return {"fields": list(table.field_names),
            "records": [[plain(v) for v in rec.values()] for rec in table.records]}


def read_dbf(path):
    import dbf
    table = dbf.Table(path)
    table.open(dbf.READ_ONLY)
    try:
        names = list(table.field_names)
        records = []
        for rec in table:
            if dbf.is_deleted(rec):
                continue
            records.append([plain(rec[name]) for name in names])
        return {"fields": [n.upper() for n in names], "records": records}
    finally:
        table.close()


def write_dbf(path):
    import dbf
    table = dbf.Table(path, 'NAME C(20); BETRAG N(10,2); ANZAHL N(5,0); DATUM D; AKTIV L; NOTIZ M',
                      dbf_type='db3', codepage='cp1252')
    table.open(dbf.READ_WRITE)
    table.append(('Müller', 12.5, 42, datetime.date(2024, 2, 29), True, 'Erste Zeile\r\nzweite Zeile'))
    table.append(('Öztürk & Söhne', -0.75, -7, None, False, ''))
    table.append(('', None, None, datetime.date(1999, 12, 31), None, 'x' * 1500))
    deleted = table.append(('Gelöscht', 1, 1, None, True, 'weg'))
    with table[-1] as rec:
        dbf.delete(rec)
    table.close()


def main():
    mode, path = sys.argv[1], sys.argv[2]
    if mode == 'dbfread':
        encoding = sys.argv[3] if len(sys.argv) > 3 else None
        print(json.dumps(read_dbfread(path, encoding), ensure_ascii=False))
    elif mode == 'dbf':
        print(json.dumps(read_dbf(path), ensure_ascii=False))
    elif mode == 'dbf-write':
        write_dbf(path)
    else:
        raise SystemExit('unknown mode ' + mode)


if __name__ == '__main__':
    main()
