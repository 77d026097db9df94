#!/usr/bin/env python3
"""Writes INF files laid out as vendors' driver disks lay them out, for
reading with both the toolkit's INF reader and the system's (inf_compare.exe).

    inf_corpus.py <folder> [scale]

driver.inf (ANSI, code page 1252): hundreds of sections; AddReg lines with
REG_BINARY values of hundreds of bytes continued over many lines; directory
ids; [Strings] in English with German and French sections beside it.
intl-utf16.inf (UTF-16LE with its byte order mark) and intl-utf8.inf (UTF-8
with one): the same layout with [Strings] in Japanese, Greek, Russian,
Polish, Czech and Turkish. long-fields.inf: fields longer than 511 and than
4,096 characters. The same seed writes the same files.
"""
import random
import sys
from pathlib import Path

DIRIDS = [1, 10, 11, 12, 17, 18, 20, 21, 23, 24, 25, 30, 50, 51, 52, 53, 54, 55,
          16384 + 0x1a, 16384 + 0x23, 16384 + 0x26, 99, 16384 + 0x3f]

LANGUAGES = {
    "en": ["Merlox Corporation", "IDE CD-ROM Drive", "Disk 1", "Read ahead, in sectors",
           "The drive's \"quiet\" mode", "Media change notification"],
    "de": ["Merlox GmbH", "IDE-CD-ROM-Laufwerk", "Diskette 1", "Vorauslesen (Sektoren)",
           "Leiser Betrieb für Größe", "Medienwechsel-Benachrichtigung über Änderungen"],
    "fr": ["Société Merlox", "Lecteur de CD-ROM IDE", "Disquette 1", "Lecture anticipée",
           "Mode « silencieux » du lecteur", "Notification de changement de média"],
    "ja": ["メルロックス株式会社", "IDE CD-ROM ドライブ", "ディスク 1", "先読みセクタ数",
           "静音モード", "メディア変更の通知"],
    "el": ["Εταιρεία Merlox", "Μονάδα CD-ROM IDE", "Δισκέτα 1", "Ανάγνωση εκ των προτέρων",
           "Αθόρυβη λειτουργία", "Ειδοποίηση αλλαγής μέσου"],
    "ru": ["Корпорация Merlox", "Дисковод CD-ROM IDE", "Диск 1", "Упреждающее чтение",
           "Тихий режим", "Уведомление о смене носителя"],
    "pl": ["Firma Merlox", "Napęd CD-ROM IDE", "Dysk 1", "Odczyt z wyprzedzeniem",
           "Tryb cichy", "Powiadomienie o zmianie nośnika"],
    "cs": ["Společnost Merlox", "Jednotka CD-ROM IDE", "Disketa 1", "Čtení dopředu",
           "Tichý režim", "Oznámení o změně média"],
    "tr": ["Merlox Şirketi", "IDE CD-ROM Sürücüsü", "Disk 1", "Önden okuma",
           "Sessiz kip", "Ortam değişikliği bildirimi"],
}
NAMES = ["Mfg", "DeviceDesc", "Disk1", "ReadAhead", "Quiet", "MediaChange"]


def quoted(text):
    return '"' + text.replace('"', '""') + '"'


def binary_lines(rng, key, name, size, per_line):
    """An AddReg line with a REG_BINARY value, continued every per_line bytes."""
    data = [f"{rng.randrange(256):02x}" for _ in range(size)]
    head = f'{key},"Parameters",{quoted(name)},0x00000001,'
    rows = [",".join(data[i:i + per_line]) for i in range(0, size, per_line)]
    return [head + "\\"] + ["    " + row + (",\\" if i + 1 < len(rows) else "")
                            for i, row in enumerate(rows)]


def install_sections(rng, n):
    out = [f"[Install.{n}]", f"CopyFiles = Files.{n}", f"AddReg = Reg.{n}, Reg.{n}.Binary",
           f"DelReg = Del.{n}", "", f"[Install.{n}.Services]",
           f"AddService = mlx{n}, 0x00000002, Service.{n}, EventLog.{n}", "",
           f"[Service.{n}]", "DisplayName = %DeviceDesc%", "ServiceType = 1 ; SERVICE_KERNEL_DRIVER",
           "StartType = 0", "ErrorControl = 1", f"ServiceBinary = %12%\\mlx{n}.sys",
           "LoadOrderGroup = SCSI miniport", "", f"[Files.{n}]",
           f"mlx{n}.sys,mlx{n}.sy_,,0x00000004", f"mlx{n}.dll", "", f"[Reg.{n}]"]
    for i in range(rng.randrange(4, 12)):
        kind = rng.choice(["0x00010001", "0x00000000", "0x00020000", "0x00010000"])
        value = {"0x00010001": str(rng.randrange(1 << 16)),
                 "0x00000000": quoted(rng.choice(["%Quiet%", "a, b; c", 'say ""hi""', "%%literal%%"])),
                 "0x00020000": f"%{rng.choice(DIRIDS)}%\\drivers\\mlx{n}.sys",
                 "0x00010000": f'"one","two", "%ReadAhead%"'}[kind]
        out.append(f"HKR,{'Parameters' if i % 3 else ''},Value{i},{kind},{value}")
    out += ["", f"[Reg.{n}.Binary]"]
    for i in range(rng.randrange(1, 4)):
        out += binary_lines(rng, "HKR", f"Table{i}", rng.randrange(100, 420), rng.choice([8, 16, 24]))
    out += ["", f"[Del.{n}]", f"HKR,Parameters,Old{n}", "", f"[EventLog.{n}]",
            f"AddReg = EventLog.{n}.Reg", "", f"[EventLog.{n}.Reg]",
            r'HKR,,EventMessageFile,0x00020000,"%SystemRoot%\System32\IoLogMsg.dll;%12%\mlx.sys"',
            "HKR,,TypesSupported,0x00010001,7", ""]
    return out


def strings_section(name, language):
    return [f"[{name}]"] + [f"{k} = {quoted(v)}" for k, v in zip(NAMES, LANGUAGES[language])] + [""]


def driver_inf(rng, sections, strings):
    out = ["; Driver disk for the Merlox IDE CD-ROM drive", "", "[Version]",
           'Signature = "$Windows NT$"', "Class = CDROM",
           "ClassGuid = {4D36E965-E325-11CE-BFC1-08002BE10318}", "Provider = %Mfg%",
           "DriverVer = 06/21/1999,3.10.0.61", "", "[SourceDisksNames]", '1 = %Disk1%,,,""', "",
           "[SourceDisksFiles]"]
    out += [f"mlx{n}.sys = 1,," for n in range(sections)] + ["", "[DestinationDirs]",
                                                            "DefaultDestDir = 12"]
    out += [f"Files.{n} = {rng.choice([10, 11, 12, 17])}" for n in range(sections)]
    out += ["", "[Manufacturer]", "%Mfg% = Models", "", "[Models]"]
    out += [f'%DeviceDesc% = Install.{n}, IDE\\CdRomMERLOX_{n:04d}' for n in range(sections)]
    out += ["", "[Paths]"]
    out += [f"Path{d} = %{d}%, %{d}%\\sub\\file.sys, \"%{d}%\"" for d in DIRIDS]
    out += ["", "[Odd Lines]", "  spaced key   =   spaced value  ,  \t tabbed\t",
            "keyless, line, with, , empty", "single", 'quoted"key" = "a""b", c', "empty =",
            "continued = first, \\", "    second ; comment", "trailing = x,", ""]
    for n in range(sections):
        out += install_sections(rng, n)
    for name, language in strings:
        out += strings_section(name, language)
    return "\r\n".join(out) + "\r\n"


def long_fields_inf():
    out = ["[Version]", 'Signature = "$Windows NT$"', "", "[Long]",
           "at511 = " + "a" * 511, "at512 = " + "b" * 512, "at4096 = " + "c" * 4096,
           "at4097 = " + "d" * 4097, 'quoted = "' + "e, " * 2000 + '"',
           "joined = " + "\\\r\n".join("f" * 90 for _ in range(60)),
           "strings = %big%%big%%big%", "", "[Strings]", "big = " + "g" * 1500, ""]
    return "\r\n".join(out)


def main():
    folder = Path(sys.argv[1])
    scale = int(sys.argv[2]) if len(sys.argv) > 2 else 1
    folder.mkdir(parents=True, exist_ok=True)
    rng = random.Random(17)
    ansi = driver_inf(rng, 100 * scale, [("Strings", "en"), ("Strings.0407", "de"),
                                          ("Strings.040C", "fr")])
    (folder / "driver.inf").write_bytes(ansi.encode("cp1252"))
    wide = driver_inf(rng, 30 * scale, [("Strings", "ja"), ("Strings.0408", "el"),
                                         ("Strings.0419", "ru")])
    (folder / "intl-utf16.inf").write_bytes(b"\xff\xfe" + wide.encode("utf-16-le"))
    utf8 = driver_inf(rng, 30 * scale, [("Strings", "pl"), ("Strings.0405", "cs"),
                                         ("Strings.041F", "tr")])
    (folder / "intl-utf8.inf").write_bytes(b"\xef\xbb\xbf" + utf8.encode("utf-8"))
    (folder / "long-fields.inf").write_bytes(long_fields_inf().encode("ascii"))


if __name__ == "__main__":
    main()
