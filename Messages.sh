#! /usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Brevlinder developers
# SPDX-License-Identifier: BSD-3-Clause
# Extracts every translatable text, of the forms and of the code, into $podir/brevlinder.pot.
# Run by KDE's translation tooling, or here through scripts/extract-messages, which sets $EXTRACTRC, $XGETTEXT and $podir.
$EXTRACTRC $(find src -name '*.ui' | sort) >> rc.cpp
$XGETTEXT rc.cpp $(find src -name '*.cpp' -o -name '*.h' | sort) -o $podir/brevlinder.pot
rm -f rc.cpp
