#!/usr/bin/env python3
"""Writes the sample texts of tests/data: small Shift-JIS (cp932) files with
the bytes that break careless code. Run it from anywhere; it rewrites the
files beside itself. The files are committed, so tests never need to run it."""
import os

HERE = os.path.dirname(os.path.abspath(__file__))

# Double-byte characters whose trail byte is a backslash (0x5C) or lies in
# 0x40..0x7E, where it reads as "@", "A".."Z", "[", "\\", "]", "^", "_", "`",
# "a".."z", "{", "|", "}" or "~" to code that forgets the lead byte.
TRAPS = "ソ表能十予構貼暴噂蚕欺申ア記号"
# NEC row 13 and the IBM extension rows, written as the bytes Windows keeps:
# ① Ⅰ ≒ ∵ (NEC), ⅰ ￢ 纊 (IBM FA..FC), 纊 again as NEC's copy of it (ED 40).
EXTENSIONS = bytes.fromhex("8740 8754 8790 879A FA40 FA54 FA5C ED40 EEEF")
HALF_KANA = "ｱｲｳｴｵ ｶﾞｷﾞｸﾞ ﾊﾟﾋﾟ｡｢｣､･ｰ"


def enc(text):
    return text.encode("cp932")


def paragraph():
    lines = [
        enc("吾輩は猫である。名前はまだ無い。"),
        enc("記号の例：") + enc(TRAPS) + enc("、記号と記号。"),
        enc("拡張文字：") + EXTENSIONS,
        enc("半角カナ：") + enc(HALF_KANA),
        enc("タブ\t区切り\tの\t行\t") + b"end",
        enc("ASCII: The quick brown fox; path C:\\temp\\ソース\\表.txt ~ @ ` ^ _"),
        enc("全角スペース［　］と引用："),
        enc("> 引用された行 http://example.com/ソ表 mailto:user@example.jp"),
        b"",
        enc("長い行：") + enc("あいうえおアイウエオ漢字ソ表能ｶﾅabc\t") * 60,
    ]
    return lines


def write(name, lines, brk, final=True):
    data = brk.join(lines)
    if final:
        data += brk
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(data)


def main():
    body = paragraph()
    write("crlf-sample.txt", body * 3, b"\r\n")
    write("lf-sample.txt", body, b"\n")
    write("cr-sample.txt", body, b"\r")
    write("no-final-break.txt", body, b"\r\n", final=False)
    # One logical line of 20,000 bytes: double-byte characters straddle every
    # wrap column and every 8,192-byte block of the reader.
    long_line = (enc("ソ表能漢字") + b"x" + enc("ｱ")) * 1540
    write("long-line.txt", [long_line[:20000]], b"\r\n")


if __name__ == "__main__":
    main()
