#!/usr/bin/env python3
"""Checks every #include of src/, engine/ and host/ against the layer table.

Dependencies run one way: core, then graphics, then panes and widgets, then
binding, then the views. A win32/ folder may use its own layer and the ones
below, and the win32/ folders of those; platform headers live only there.
Prints file:line: rule for each break and exits 1 when there is one.

  check_includes.py [ROOT]      check a tree (default: this repository)
  check_includes.py --self-test check that each rule catches what it should
"""
import os
import re
import sys
import tempfile

# Folder of src/ -> layer rank. Subsystem folders share the top rank.
LAYERS = {
    'ui/core': 0,
    'shared/Graphics': 1,
    'ui': 2,
    'binding': 3,
    'view': 4, 'modes': 4, 'looper': 4, 'chords': 4, 'controller': 4,
    'effects': 4, 'sampler': 4,
}
LAYER_NAMES = ['core', 'graphics', 'panes and widgets', 'binding', 'views']

# The COM page object builds the view: the one top piece that may see view/.
SEES_VIEW = {'src/binding/win32/CVRorezoZavu.cpp', 'src/binding/win32/CVRorezoZavu.h'}

# What the substitute engine may see of binding/: the boundary headers only.
ENGINE_BOUNDARY = re.compile(r'^binding/(I[A-Z]\w*|CMidiTrack|CLooper|EngineTypes|MidiEffect|GuitarUIKnobs)\.h$')

PLATFORM_HEADERS = re.compile(
    r'^(windows|winbase|winuser|wingdi|winreg|objbase|ocidl|olectl|ole2|oleauto|unknwn|commctrl|commdlg|'
    r'shlobj|shellapi|shlwapi|mmsystem|gdiplus|tchar|winnt|guiddef|process|io|direct|dinput|xinput)\.h$',
    re.IGNORECASE)

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')


def folder_of(rel_path):
    """'src/ui/core/Ref.h' -> ('ui/core', False); 'src/ui/win32/X.cpp' -> ('ui', True)."""
    parts = rel_path.split('/')
    if parts[0] != 'src':
        return parts[0], False
    inner = parts[1:-1]
    win32 = 'win32' in inner
    inner = [p for p in inner if p != 'win32']
    for n in (2, 1):
        key = '/'.join(inner[:n])
        if key in LAYERS and len(inner) >= n:
            return key, win32
    return '/'.join(inner), win32


def resolve(root, including, target):
    """Finds the file a quoted include names: beside the includer, then in src/, engine/, host/ and the top."""
    here = os.path.dirname(including)
    for base in (here, 'src', 'engine', 'host', '.'):
        candidate = os.path.normpath(os.path.join(base, target))
        if os.path.isfile(os.path.join(root, candidate)):
            return candidate.replace(os.sep, '/')
    return None


def rule_for(src_rel, inc_rel, inc_text):
    """Returns the broken rule, or None when the include is allowed."""
    top = src_rel.split('/')[0]
    inc_top = inc_rel.split('/')[0]
    if top == 'host':
        return None
    if top == 'engine':
        if inc_top == 'engine':
            return None
        folder, win32 = folder_of(inc_rel)
        if folder == 'ui/core' and not win32:
            return None
        if ENGINE_BOUNDARY.match(inc_rel[len('src/'):]):
            return None
        return 'the substitute engine sees only ui/core/ and the boundary headers of binding/'
    if inc_top != 'src':
        return 'src/ may not include from %s/' % inc_top
    folder, win32 = folder_of(src_rel)
    inc_folder, inc_win32 = folder_of(inc_rel)
    if folder not in LAYERS:
        return 'folder %s/ is not in the layer table' % folder
    if inc_folder not in LAYERS:
        return 'folder %s/ is not in the layer table' % inc_folder
    rank, inc_rank = LAYERS[folder], LAYERS[inc_folder]
    if inc_win32 and not win32:
        return 'only win32/ folders may include a win32/ folder (%s/win32/)' % inc_folder
    if inc_folder == 'view' and src_rel in SEES_VIEW:
        return None
    if inc_rank > rank:
        return '%s (%s/) may not depend on %s (%s/)' % (LAYER_NAMES[rank], folder, LAYER_NAMES[inc_rank], inc_folder)
    if inc_rank == 4 and rank == 4:
        return None
    if inc_rank == rank and inc_folder != folder:
        return '%s/ and %s/ are different layers' % (folder, inc_folder)
    return None


def check(root):
    problems = []
    for top in ('src', 'engine', 'host'):
        for dirpath, _, files in os.walk(os.path.join(root, top)):
            for name in sorted(files):
                if not name.endswith(('.h', '.cpp', '.hpp', '.inl')):
                    continue
                path = os.path.join(dirpath, name)
                rel = os.path.relpath(path, root).replace(os.sep, '/')
                win32 = '/win32/' in rel or rel.startswith('host/')
                with open(path, encoding='utf-8', errors='replace') as f:
                    for line_no, line in enumerate(f, 1):
                        m = INCLUDE.match(line)
                        if not m:
                            continue
                        kind, target = m.groups()
                        where = '%s:%d: #include %s%s%s: ' % (rel, line_no, kind, target, '"' if kind == '"' else '>')
                        if kind == '<':
                            if PLATFORM_HEADERS.match(os.path.basename(target)) and not win32:
                                problems.append(where + 'platform headers only in win32/ folders and host/')
                            continue
                        inc = resolve(root, rel, target)
                        if inc is None:
                            problems.append(where + 'names no file of the tree')
                            continue
                        rule = rule_for(rel, inc, target)
                        if rule:
                            problems.append(where + rule)
    return problems


def self_test():
    """Each rule, broken once in a small tree, must be reported; allowed includes must not."""
    files = {
        'src/ui/core/Ref.h': '',
        'src/ui/core/Bad.h': '#include "shared/Graphics/Color.h"\n',
        'src/ui/core/Plat.cpp': '#include <windows.h>\n',
        'src/shared/Graphics/Color.h': '#include "ui/core/Ref.h"\n',
        'src/shared/Graphics/Up.h': '#include "ui/Pane.h"\n',
        'src/shared/Graphics/win32/Gdi.h': '#include <windows.h>\n#include "shared/Graphics/Color.h"\n',
        'src/ui/Pane.h': '#include "shared/Graphics/Color.h"\n#include "ui/core/Ref.h"\n',
        'src/ui/UsesWin.h': '#include "shared/Graphics/win32/Gdi.h"\n',
        'src/ui/win32/Native.cpp': '#include "shared/Graphics/win32/Gdi.h"\n#include "ui/Pane.h"\n',
        'src/ui/win32/Up.cpp': '#include "binding/win32/Module.h"\n',
        'src/binding/IRnC.h': '#include "ui/core/Ref.h"\n',
        'src/binding/CVRnC.h': '#include "binding/IRnC.h"\n',
        'src/binding/win32/Module.h': '',
        'src/binding/win32/Other.cpp': '#include "view/Main.h"\n',
        'src/binding/win32/CVRorezoZavu.cpp': '#include "view/Main.h"\n#include "ui/win32/Native.h"\n',
        'src/ui/win32/Native.h': '',
        'src/view/Main.h': '#include "binding/IRnC.h"\n#include "looper/Loop.h"\n',
        'src/looper/Loop.h': '#include "view/Main.h"\n#include "missing/Nothing.h"\n',
        'engine/Engine.h': '#include "binding/IRnC.h"\n#include "ui/core/Ref.h"\n#include "binding/CVRnC.h"\n',
        'host/main.cpp': '#include <windows.h>\n#include "engine/Engine.h"\n#include "binding/win32/Module.h"\n',
    }
    expected = {
        ('src/ui/core/Bad.h', 1), ('src/ui/core/Plat.cpp', 1), ('src/shared/Graphics/Up.h', 1),
        ('src/ui/UsesWin.h', 1), ('src/ui/win32/Up.cpp', 1), ('src/binding/win32/Other.cpp', 1),
        ('src/looper/Loop.h', 2), ('engine/Engine.h', 3),
    }
    with tempfile.TemporaryDirectory() as root:
        for rel, text in files.items():
            path = os.path.join(root, rel)
            os.makedirs(os.path.dirname(path), exist_ok=True)
            with open(path, 'w') as f:
                f.write(text)
        found = {(p.split(':')[0], int(p.split(':')[1])) for p in check(root)}
    if found != expected:
        print('self-test: missed %s, reported wrongly %s' % (sorted(expected - found), sorted(found - expected)))
        return 1
    print('self-test: %d breaks reported, allowed includes passed' % len(expected))
    return 0


def main(argv):
    if argv[1:] == ['--self-test']:
        return self_test()
    root = argv[1] if len(argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..')
    problems = check(os.path.abspath(root))
    for p in problems:
        print(p)
    if problems:
        print('%d include(s) break the layer table' % len(problems))
        return 1
    print('includes follow the layer table')
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
