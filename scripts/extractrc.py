#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 Brevlinder developers
# SPDX-License-Identifier: GPL-2.0-or-later
"""extractrc.py FORM.ui...: writes, to standard output, one i18n call for each translatable text in the Qt Designer
forms, with its context and comment, in the way KDE's extractrc does, so that xgettext finds the forms' texts.
"""

import sys
import xml.etree.ElementTree as ElementTree


def quoted(text):
    return '"' + text.replace("\\", "\\\\").replace('"', '\\"').replace("\n", "\\n") + '"'


def main(forms):
    for form in forms:
        tree = ElementTree.parse(form)
        for parent in tree.iter():
            for string in parent.findall("string"):
                text = string.text or ""
                if not text or string.get("notr") == "true":
                    continue
                print(f"// i18n: file: {form}, property {parent.get('name', parent.tag)}")
                context = string.get("comment")
                if context:
                    print(f"i18nc({quoted(context)}, {quoted(text)});")
                else:
                    print(f"i18n({quoted(text)});")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
