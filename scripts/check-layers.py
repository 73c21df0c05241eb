#!/usr/bin/env python3
"""Checks that the layers point one way and that the toolkit-free ones stay so.

Reads every quoted include of the product folders. A file may include only
its own layer and the layers below it; files of the toolkit-free layers (and
the toolkit-free files of the mixed folders) may include no Qt header.
Usage: check-layers.py [ROOT]   (exit 1 and one line per fault when broken)
"""
import os
import re
import sys

# Layer -> the layers its files may include (its own is always allowed).
BELOW = {
    'textstore': [],
    'platform': [],
    'platform/codec': [],
    'platform/os': [],
    'platform/qt': ['platform', 'platform/codec'],
    'editor': ['textstore', 'platform'],
    'editor/qt': ['editor', 'textstore', 'platform', 'platform/codec', 'platform/qt'],
    'settings': ['editor', 'textstore', 'platform'],
    'search': ['settings', 'editor', 'textstore', 'platform'],
    'textconv': ['editor', 'textstore', 'platform', 'platform/codec'],
    'documents': ['textconv', 'search', 'settings', 'editor', 'editor/qt', 'textstore', 'platform',
                  'platform/codec', 'platform/os', 'platform/qt'],
    'dialogs': ['search', 'settings', 'editor', 'editor/qt', 'textstore', 'platform',
                'platform/codec', 'platform/qt'],
    'app': ['documents', 'dialogs', 'textconv', 'search', 'settings', 'editor', 'editor/qt',
            'textstore', 'platform', 'platform/codec', 'platform/os', 'platform/qt'],
    'resources': ['platform/codec'],
    # The fuzz targets sit on top of every toolkit-free layer.
    'fuzz': ['app', 'textconv', 'search', 'settings', 'editor', 'textstore', 'platform',
             'platform/codec', 'platform/os'],
}
QT_FREE_LAYERS = {'textstore', 'platform', 'platform/codec', 'platform/os', 'editor', 'settings',
                  'search', 'textconv', 'fuzz'}
# Test helpers (tests/headless, tests/support) a layer may share with the tests.
TEST_HELPERS = {'fuzz': {'headless', 'support'}}
# Toolkit-free files of the folders that also hold forms.
QT_FREE_FILES = {
    'documents/Ruler', 'documents/LineMarks', 'documents/LinkTarget', 'dialogs/GotoLine',
    'dialogs/PrinterTextDevice',
    'app/SharedBlockStream', 'app/HandOff', 'app/HandOffMessage', 'app/OpenFileCheck',
    'app/TabStripModel', 'documents/AutoBackup', 'dialogs/BackupHistory',
}
QUOTED = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)
ANGLED = re.compile(r'^\s*#\s*include\s+<([^>]+)>', re.M)


def layer_of(path):
    """The deepest layer whose folder holds path, or None."""
    best = None
    for layer in BELOW:
        if path.startswith(layer + '/') and (best is None or len(layer) > len(best)):
            best = layer
    return best


def is_qt_header(name):
    return re.match(r'Q[A-Za-z]|Qt[A-Za-z]*/', name) is not None


def check_file(root, path):
    faults = []
    layer = layer_of(path)
    text = open(os.path.join(root, path), encoding='utf-8').read()
    allowed = set(BELOW[layer]) | {layer}
    for name in QUOTED.findall(text):
        if not name.endswith('.h'):
            continue
        target = layer_of(name)
        if target is None and name.split('/')[0] in TEST_HELPERS.get(layer, ()):
            continue
        if target is None:
            faults.append(f'{path}: includes "{name}", which does not name its layer')
        elif target not in allowed:
            faults.append(f'{path}: {layer} may not include {target} ("{name}")')
    qt_free = layer in QT_FREE_LAYERS or os.path.splitext(path)[0] in QT_FREE_FILES
    if qt_free:
        for name in ANGLED.findall(text):
            if is_qt_header(name):
                faults.append(f'{path}: toolkit-free, yet includes <{name}>')
    return faults


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), '..')
    faults = []
    for layer in BELOW:
        folder = os.path.join(root, layer)
        if not os.path.isdir(folder):
            continue
        for name in sorted(os.listdir(folder)):
            path = f'{layer}/{name}'
            if name.endswith(('.h', '.cpp')) and layer_of(path) == layer:
                faults.extend(check_file(root, path))
    for fault in faults:
        print(fault)
    if faults:
        return 1
    print('layers: every include points down')
    return 0


if __name__ == '__main__':
    sys.exit(main())
