// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "otpsetup.h"

#include "uricomponents.h"

namespace Brevlinder::Content
{

namespace
{
bool isBase32Letter(QChar c)
{
    return (c >= u'A' && c <= u'Z') || (c >= u'2' && c <= u'7');
}

/// The secret in its usual form, and whether it had to be brought into it.
CheckedValue checkedSecret(const QString &written, bool &normalised)
{
    CheckedValue secret;
    if (written.isEmpty()) {
        secret.problem = ki18n("The code carries no secret.");
        return secret;
    }
    secret.value.reserve(written.size());
    qsizetype padding = 0;
    bool wellFormed = true;
    for (const QChar c : written) {
        if (c == u' ') {
            continue;
        }
        if (c == u'=') {
            ++padding;
            continue;
        }
        const QChar upper = c.toUpper();
        // Padding is only allowed at the end; a letter after it means the secret is corrupt.
        wellFormed = wellFormed && padding == 0 && isBase32Letter(upper);
        secret.value += upper;
    }
    normalised = secret.value != written;

    // Five bits a letter: some counts of letters leave bits over that make up no whole byte.
    const qsizetype remainder = secret.value.size() % 8;
    const bool wholeBytes = remainder == 0 || remainder == 2 || remainder == 4 || remainder == 5 || remainder == 7;
    const bool paddingFits = padding == 0 || (padding < 8 && (secret.value.size() + padding) % 8 == 0);
    if (!wellFormed || secret.value.isEmpty()) {
        secret.problem = ki18n("The secret is not in base32: it may hold only the letters A to Z and the digits 2 to 7.");
    } else if (!wholeBytes || !paddingFits) {
        secret.problem = ki18n("The secret's length does not fit base32; it has been cut or corrupted.");
    }
    return secret;
}

bool isNumber(const QString &text)
{
    if (text.isEmpty() || text.size() > 18) {
        return false;
    }
    for (const QChar c : text) {
        if (c < u'0' || c > u'9') {
            return false;
        }
    }
    return true;
}
}

std::optional<OtpSetup> OtpSetup::parse(const QString &text)
{
    if (!UriComponents::hasScheme(text, u"otpauth://") || text.size() > UriComponents::maximumPayloadLength) {
        return std::nullopt;
    }
    const QStringView address = QStringView(text).mid(10).trimmed();
    const qsizetype slash = address.indexOf(u'/');
    const QStringView type = slash < 0 ? address : address.left(slash);
    OtpSetup setup;
    if (type.compare(u"totp", Qt::CaseInsensitive) == 0) {
        setup.kind = Kind::TimeBased;
    } else if (type.compare(u"hotp", Qt::CaseInsensitive) == 0) {
        setup.kind = Kind::CounterBased;
    } else {
        return std::nullopt;
    }

    const QStringView rest = slash < 0 ? QStringView() : address.mid(slash + 1);
    const qsizetype questionMark = rest.indexOf(u'?');
    const QString label = UriComponents::percentDecoded(questionMark < 0 ? rest : rest.left(questionMark));
    const qsizetype colon = label.indexOf(u':');
    if (colon >= 0) {
        setup.labelIssuer = label.left(colon).trimmed();
        setup.account = label.mid(colon + 1).trimmed();
    } else {
        setup.account = label.trimmed();
    }

    std::optional<QString> secret;
    std::optional<QString> issuer;
    std::optional<QString> algorithm;
    std::optional<QString> digits;
    std::optional<QString> period;
    std::optional<QString> counter;
    const QStringView query = questionMark < 0 ? QStringView() : rest.mid(questionMark + 1);
    // Form-encoding generators write spaces in the issuer as "+"; no other value can hold a "+".
    for (const auto &[name, value] : UriComponents::queryItems(query, true)) {
        // The first of a repeated parameter counts, as it does for the authenticators that read these codes.
        auto *field = name == u"secret" ? &secret
            : name == u"issuer"         ? &issuer
            : name == u"algorithm"      ? &algorithm
            : name == u"digits"         ? &digits
            : name == u"period"         ? &period
            : name == u"counter"        ? &counter
                                        : nullptr;
        if (field && !*field) {
            *field = value;
        }
    }

    bool normalised = false;
    setup.secret = checkedSecret(secret.value_or(QString()), normalised);
    if (normalised && setup.secret.isSound()) {
        setup.warnings.append(ki18n("The secret is written with lower-case letters, spaces or padding; some authenticators may not accept it as it is."));
    }

    setup.issuer = issuer.value_or(setup.labelIssuer).trimmed();
    if (issuer && !setup.labelIssuer.isEmpty() && setup.issuer != setup.labelIssuer) {
        setup.warnings.append(
            ki18n("The code names two different issuers: “%1” in its label and “%2” in its parameters.").subs(setup.labelIssuer).subs(setup.issuer));
    }

    setup.algorithm.value = algorithm.value_or(QStringLiteral("SHA1")).toUpper();
    if (setup.algorithm.value != u"SHA1" && setup.algorithm.value != u"SHA256" && setup.algorithm.value != u"SHA512") {
        setup.algorithm.problem = ki18n("The algorithm must be SHA1, SHA256 or SHA512.");
    }

    setup.digits.value = digits.value_or(QStringLiteral("6"));
    if (setup.digits.value != u"6" && setup.digits.value != u"7" && setup.digits.value != u"8") {
        setup.digits.problem = ki18n("A code must have 6, 7 or 8 digits.");
    }

    if (setup.kind == Kind::TimeBased) {
        setup.period.value = period.value_or(QStringLiteral("30"));
        if (!isNumber(setup.period.value) || setup.period.value.toLongLong() == 0) {
            setup.period.problem = ki18n("The period must be a whole number of seconds greater than zero.");
        }
    } else {
        setup.counter.value = counter.value_or(QString());
        if (!counter) {
            setup.counter.problem = ki18n("A counter-based code needs the counter's start, and the code gives none.");
        } else if (!isNumber(setup.counter.value)) {
            setup.counter.problem = ki18n("The counter must be a whole number.");
        }
    }

    setup.warnings.append(ki18n("Whoever has this code can produce the second-factor codes of the account: keep it as secret as a password."));
    return setup;
}

}
