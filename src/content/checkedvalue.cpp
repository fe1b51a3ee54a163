// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "checkedvalue.h"

namespace Brevlinder::Content
{

bool CheckedValue::isSound() const
{
    return problem.isEmpty();
}

}
