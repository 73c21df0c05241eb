#!/usr/bin/env python3
"""Writes the seed corpus of every fuzz target under fuzz/corpus/<target>/.

The seeds are a handful of small inputs each, in the shapes the readers meet:
the Shift-JIS samples of tests/data, each line-break style, the settings
files as the program writes them, and hand-off messages. The files are
committed; run this again only to change them. Inputs a long run found worth
keeping (fuzz/corpus/<target>/regress-*) and files the program itself wrote
(written-*: fuzz_option_file/written-defaults is the default "Option.dat" as
`test-tools/write_options FOLDER 300000` writes it) are left alone.
"""
import os
import random
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
DATA = os.path.join(HERE, '..', 'tests', 'data')
CORPUS = os.path.join(HERE, 'corpus')
OPTION_SIZE = 5784


def sample(name, limit=2048):
    with open(os.path.join(DATA, name), 'rb') as f:
        return f.read(limit)


def sjis(text):
    return text.encode('cp932')


TEXT = sjis('吾輩は猫である。ソ表能\t半角ｶﾅ ') + bytes.fromhex('8740 ED40 FA5C')
SEEDS = {
    'fuzz_document_load': {
        # The first byte of each input places the reader's block boundary.
        'crlf': b'\x00' + sample('crlf-sample.txt'),
        'lf': b'\x05' + sample('lf-sample.txt'),
        'cr': b'\x10' + sample('cr-sample.txt'),
        'mixed': b'\x01' + TEXT + b'\r\n' + TEXT + b'\n\r' + TEXT + b'\r\x00x\x1ay',
        'no-final-break': b'\x02' + sample('no-final-break.txt'),
    },
    'fuzz_store_load': {
        'crlf': sample('crlf-sample.txt'),
        'lf': sample('lf-sample.txt'),
        'cr': sample('cr-sample.txt'),
        'crlf-with-lone-cr': b'a\r\nb\rc\r\n\x1ad\r\n',
        'lf-with-cr-and-nul': b'a\nb\r\r\nc\x00d\n' + TEXT,
    },
    'fuzz_comma_text': {
        'plain': b'a,b,c',
        'quoted': b'"a b",c,"d,e",,' + TEXT,
        'stops': b'x\ry\x00z"w"',
        'empty-items': b',,a,,',
    },
    'fuzz_option_file': {
        'zeros': bytes(OPTION_SIZE),
        'short': bytes(100),
        'long': bytes(OPTION_SIZE + 1),
        'ones': bytes([1]) * OPTION_SIZE,
    },
    'fuzz_clip_file': {
        'two': sjis('最初の項目\r\n二行目') + b'\r\n\x03\r\n' + b'second\r\n\x03\r\n',
        'empty-entry': b'\r\n\x03\r\n',
        'cut-short': b'entry\r\n\x03\r\nhalf an entry',
        'many': b''.join(b'item %d\r\n\x03\r\n' % i for i in range(35)),
    },
    'fuzz_key_file': {
        'sound': b'[KeyBrd]\r\nkey1=Ctrl+N\r\nkey2=^O\r\nkey3=\r\n; note\r\n[Other]\r\nx=1\r\n',
        'cases': b'[keybrd]\r\nKEY10 = shift+ctrl+F5 \r\nkey37=Alt+Del\r\nkey38=A\r\n',
        'damaged': b'[KeyBrd]\r\nkey4=Ctrl+\r\nstray line\r\nkey5=NoSuchKey\r\n',
        'lf-only': b'[KeyBrd]\nkey6=F12\nkey6=F11\n',
    },
    'fuzz_color_scheme': {
        'written': b'[Color]\r\nNormal=0\r\nBack=16777215\r\nSelect=-2147483635\r\nFind=255\r\n'
                   b'URL,MailTo=16711680\r\nEOF,CR,ZSpc=8421376\r\nQuotation=8421504\r\n'
                   b'UnderLine=0\r\n',
        'cases': b'[color]\r\nnormal = 255 \r\nurl,mailto="-5"\r\n[Other]\r\nNormal=1\r\n',
        'damaged': b'[Color]\r\nBack=\r\nFind=12x\r\nSelect=99999999999\r\nstray\r\n',
    },
    'fuzz_handoff_message': {},
    'fuzz_cp932': {
        'text': TEXT,
        'all-leads': bytes(range(0x80, 0x100)) + bytes(range(0x40, 0x80)),
        'utf16': 'テキスト①Ⅰ～−￠'.encode('utf-16-le'),
        'utf8': 'テキスト①Ⅰ～−￠\U0001F600'.encode('utf-8') + b'\xc3\x28\xe2\x82',
    },
}


def handoff(name, signature=0x15393861, length=None, cut=None):
    body = name + b'\x00'
    msg = struct.pack('<II', signature, len(body) if length is None else length) + body
    return msg if cut is None else msg[:cut]


# A first byte of 0 feeds each message at once; others take piece sizes first.
SEEDS['fuzz_handoff_message'] = {
    'whole': b'\x00' + handoff(b'/home/user/' + sjis('文書.txt')),
    'pieces': b'\x03\x00\x02\x06' + handoff(b'/tmp/a.txt'),
    'wrong-signature': b'\x00' + handoff(b'/tmp/a', signature=0x12345678),
    'oversized': b'\x00' + handoff(b'/tmp/a', length=0x7FFFFFFF),
    'truncated': b'\x00' + handoff(b'/tmp/abc', cut=12),
    'inner-nul': b'\x00' + handoff(b'/tmp/a\x00b'),
}


# The engine target reads each choice of the editing model from the next byte;
# any bytes drive it, so its seeds are bytes from a fixed generator.
_bytes = random.Random(20240611)
SEEDS['fuzz_editor'] = {
    'steps-%d' % n: bytes(_bytes.randrange(256) for _ in range(n)) for n in (64, 256, 1024, 4096)
}


def main():
    for target, seeds in SEEDS.items():
        folder = os.path.join(CORPUS, target)
        os.makedirs(folder, exist_ok=True)
        for name in os.listdir(folder):
            if not name.startswith(('regress-', 'written-')):
                os.remove(os.path.join(folder, name))
        for name, data in seeds.items():
            with open(os.path.join(folder, name), 'wb') as f:
                f.write(data)


if __name__ == '__main__':
    main()
