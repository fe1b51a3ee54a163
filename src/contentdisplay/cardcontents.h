// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "codecontent.h"

#include <KLocalizedString>

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <optional>

namespace Brevlinder::ContentDisplay
{

/// One labelled value of a card.
struct CardRow {
    /// The field's name with its colon, "Network name:".
    QString label;
    /// As the code gives it; the card makes control characters visible.
    QString value;
    /// Why the value fails its check, empty when it passes.
    QString problem;
    /// Whether line breaks in the value are kept (an address, a message).
    bool multiLine = false;
    /// Shown in a bold font: the part of a value a user should check first.
    bool emphasised = false;
    /// What a "Copy" button beside the value copies; empty for no such button.
    QString copyText;
    /// The accessible name of that button, "Copy IBAN".
    QString copyName;
};

/// What a button of a card does when it is pressed.
struct CardAction {
    enum class Kind {
        /// Joins the card's Wi-Fi network.
        Connect,
        /// Puts text on the clipboard.
        Copy,
        /// Writes fileContent to a file the user chooses.
        Save,
        /// Hands url to the desktop's handler for its scheme.
        OpenUrl,
        /// Hands fileContent, as a temporary file of mimeType, to the desktop's handler for that type.
        OpenFile,
    };

    Kind kind = Kind::Copy;
    /// The button's text; "%1" in it stands for target, which the card may shorten.
    KLocalizedString label;
    /// What the action acts on, as the user should read it: a network name, a phone number.
    QString target;
    /// What the button's tooltip says when the text does not name the whole target; plain text.
    QString details;
    /// Why the action cannot be taken; empty when it can.
    QString disabledReason;

    /// Copy: the text; secret marks it as a password for clipboard managers.
    QString text;
    bool secret = false;
    /// OpenUrl: the address to open.
    QUrl url;
    /// Save and OpenFile: what is written, its MIME type and the file name suggested for it.
    QByteArray fileContent;
    QString mimeType;
    QString fileName;

    bool isEnabled() const
    {
        return disabledReason.isEmpty();
    }
};

/**
 * What a card shows and offers for a code: its title, warnings, labelled values and actions. Made from what the
 * code carries alone, without widgets, so that each kind's card is decided in one place.
 */
struct CardContents {
    QString title;
    QStringList warnings;
    QList<CardRow> rows;
    QList<CardAction> actions;
    /// The network that Connect joins.
    std::optional<Content::WifiNetwork> network;

    /// The card for @p kind, whose code's text is @p text; nullopt for plain text.
    static std::optional<CardContents> of(const Content::Kind &kind, const QString &text);
};

}
