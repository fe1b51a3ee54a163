// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "pageddocument.h"

namespace Brevlinder::Documents
{

PagedDocument::~PagedDocument() = default;

}
