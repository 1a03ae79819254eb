#!/usr/bin/env python3
"""Checks the names in the project's C++ code with clang-tidy (the naming check of .clang-tidy).

Usage: scripts/check-names.py BUILD_DIR

Checks every C++ file of the project that BUILD_DIR compiles (a configured and built Ninja tree:
its compile commands and generated headers are needed), with the project's own headers that the
file includes. A file is checked again only when it, a project header it includes, its compile
command or .clang-tidy changed since it last passed (BUILD_DIR/naming-checked/). Prints the
findings and exits 1 when there are any.
"""

import hashlib
import json
import os
import re
import shlex
import subprocess
import sys
from concurrent.futures import ThreadPoolExecutor

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

# The project's own code; build trees, generated files and fuzz/ (built only by the fuzz preset)
# are not checked.
CHECKED = ('app/', 'bench/', 'core/', 'engine/', 'platform/', 'settings/', 'tests/', 'tools/',
           'ui/')


def checked(relative):
    return relative.startswith(CHECKED)


def tracked_files():
    out = subprocess.run(['git', 'ls-files', '-z'], cwd=ROOT, check=True, capture_output=True)
    return [name for name in out.stdout.decode().split('\0') if name]


def header_filter(files):
    """clang-tidy's header filter: exactly the folders of the checked headers."""
    folders = sorted({os.path.dirname(name) for name in files
                      if name.endswith('.h') and checked(name)})
    return '^' + ROOT + '/(' + '|'.join(folders) + ')/[^/]+$'


def dependencies(build):
    """The headers each object file included, as Ninja recorded them: {object: [path, ...]}."""
    out = subprocess.run(['ninja', '-C', build, '-t', 'deps'], check=True, capture_output=True)
    deps = {}
    current = None
    for line in out.stdout.decode().splitlines():
        if line and not line[0].isspace():
            current = deps.setdefault(line.split(':')[0], [])
        elif line.strip() and current is not None:
            current.append(line.strip())
    return deps


def object_of(command):
    words = shlex.split(command)
    return words[words.index('-o') + 1] if '-o' in words else ''


def digest_of(paths, *texts):
    digest = hashlib.sha256()
    for text in texts:
        digest.update(text.encode())
    for path in paths:
        digest.update(path.encode())
        with open(path, 'rb') as file:
            digest.update(file.read())
    return digest.hexdigest()


def main():
    build = os.path.abspath(sys.argv[1])
    files = tracked_files()
    tracked = set(files)
    with open(os.path.join(build, 'compile_commands.json')) as file:
        commands = json.load(file)
    with open(os.path.join(ROOT, '.clang-tidy')) as file:
        config = file.read()
    filter_ = header_filter(files)
    deps = dependencies(build)
    stamps = os.path.join(build, 'naming-checked')
    os.makedirs(stamps, exist_ok=True)

    units = []
    for entry in commands:
        relative = os.path.relpath(entry['file'], ROOT)
        if relative not in tracked or not checked(relative):
            continue
        own = [path for path in deps.get(object_of(entry['command']), [entry['file']])
               if os.path.relpath(path, ROOT) in tracked]
        key = digest_of(own, config, filter_, entry['command'])
        stamp = os.path.join(stamps, hashlib.sha256(relative.encode()).hexdigest())
        if os.path.exists(stamp):
            with open(stamp) as file:
                if file.read() == key:
                    continue
        units.append((relative, stamp, key))

    print(f'lint: clang-tidy\'s naming check on {len(units)} changed C++ files', flush=True)

    def check(unit):
        relative, stamp, key = unit
        result = subprocess.run(['clang-tidy', '-p', build, '--quiet', '--header-filter=' + filter_,
                                 relative], cwd=ROOT, capture_output=True, text=True)
        if result.returncode == 0:
            with open(stamp, 'w') as file:
                file.write(key)
            return ''
        return result.stdout + result.stderr

    # A finding in a header comes once for each file that includes it: each is printed once.
    findings = []
    failed = False
    with ThreadPoolExecutor(max_workers=os.cpu_count()) as pool:
        for output in pool.map(check, units):
            failed = failed or bool(output)
            for finding in re.split(r'\n(?=\S+:\d+:\d+: )', output.strip()):
                if finding and finding not in findings:
                    findings.append(finding)
    for finding in findings:
        print(finding)
    return 1 if failed else 0


if __name__ == '__main__':
    sys.exit(main())
