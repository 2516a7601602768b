#pragma once
// The text of a PDF as the browser's PDF writer makes it: glyph strings in compressed content
// streams, mapped to Unicode by the fonts' ToUnicode maps.

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QRegularExpression>
#include <QString>
#include <QtEndian>

namespace dv::test {

inline QByteArray InflatePdfStream(const QByteArray& raw) {
    QByteArray sized(4, '\0');
    qToBigEndian<quint32>(quint32(raw.size() * 20 + 1024), sized.data());
    const QByteArray inflated = qUncompress(sized + raw);
    return inflated.isEmpty() ? raw : inflated;
}

inline QString PdfText(const QByteArray& pdf) {
    QList<QByteArray> streams;
    for (qsizetype at = pdf.indexOf("stream"); at >= 0; at = pdf.indexOf("stream", at)) {
        if (at >= 3 && pdf.mid(at - 3, 3) == "end") {
            at += 6;
            continue;
        }
        qsizetype begin = at + 6;
        if (pdf.mid(begin, 1) == "\r") ++begin;
        if (pdf.mid(begin, 1) == "\n") ++begin;
        const qsizetype end = pdf.indexOf("endstream", begin);
        if (end < 0) break;
        streams.append(InflatePdfStream(pdf.mid(begin, end - begin)));
        at = end + 9;
    }
    auto code = [](const QString& hex) { return hex.toUInt(nullptr, 16); };
    auto unicode = [](const QString& hex) {
        QString text;
        for (qsizetype i = 0; i + 4 <= hex.size(); i += 4)
            text += QChar(char16_t(hex.mid(i, 4).toUInt(nullptr, 16)));
        return text;
    };
    QHash<uint, QString> glyphs;
    const QRegularExpression single(R"(<([0-9A-Fa-f]+)>\s*<([0-9A-Fa-f]+)>)");
    const QRegularExpression range(R"(<([0-9A-Fa-f]+)>\s*<([0-9A-Fa-f]+)>\s*<([0-9A-Fa-f]+)>)");
    for (const QByteArray& stream : streams) {
        const QString text = QString::fromLatin1(stream);
        if (!text.contains("begincmap")) continue;
        for (const QString& part : text.split("beginbfchar").mid(1))
            for (const auto& m : single.globalMatch(part.section("endbfchar", 0, 0)))
                glyphs.insert(code(m.captured(1)), unicode(m.captured(2)));
        for (const QString& part : text.split("beginbfrange").mid(1))
            for (const auto& m : range.globalMatch(part.section("endbfrange", 0, 0))) {
                const uint first = code(m.captured(1));
                const uint last = code(m.captured(2));
                const uint to = code(m.captured(3));
                for (uint g = first; g <= last && g - first < 0x10000; ++g)
                    glyphs.insert(g, QString(QChar(char16_t(to + (g - first)))));
            }
    }
    QString shown;
    const QRegularExpression glyphString(R"(<([0-9A-Fa-f]+)>)");
    for (const QByteArray& stream : streams) {
        const QString text = QString::fromLatin1(stream);
        if (text.contains("begincmap") || !text.contains("BT")) continue;
        for (const auto& m : glyphString.globalMatch(text)) {
            const QString hex = m.captured(1);
            for (qsizetype i = 0; i + 4 <= hex.size(); i += 4)
                shown += glyphs.value(code(hex.mid(i, 4)));
        }
    }
    return shown;
}

}  // namespace dv::test
