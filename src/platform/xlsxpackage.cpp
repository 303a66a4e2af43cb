#include "xlsxpackage.h"

#include <QDir>
#include <QUrl>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace platform::xlsx {

namespace {
constexpr qint64 MB = 1024 * 1024;
constexpr qint64 MaxUnpacked = kWorkbookMaxUnpackedMB * MB;
constexpr qint64 MaxHeld = kWorkbookMaxHeldMB * MB;
// One token (a tag with its attributes, a run of text) is held whole by the XML reader.
constexpr qint64 MaxStretch = 1 * MB;
constexpr int MaxDepth = 64;
constexpr quint64 MaxParts = 10000;
constexpr quint64 MaxDirectory = 16 * MB;
constexpr qint64 ChunkSize = 64 * 1024;

quint64 littleEndian(const QByteArray &b, qsizetype at, int bytes)
{
    quint64 v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = v << 8 | quint8(b[at + i]);
    return v;
}

QString resolveTarget(const QString &sourcePart, const QString &target)
{
    const QString t = QUrl::fromPercentEncoding(target.toUtf8());
    if (t.startsWith(u'/'))
        return QDir::cleanPath(t.mid(1));
    return QDir::cleanPath(sourcePart.left(sourcePart.lastIndexOf(u'/') + 1) + t);
}
} // namespace

void Budget::charge(qint64 bytes)
{
    m_held += bytes;
    if (m_held > MaxHeld)
        throw TooLarge{u"要读取的内容超过 %1 MB"_s.arg(kWorkbookMaxHeldMB)};
}

void Budget::check(const QString &growing) const
{
    if (m_held + 2 * growing.size() > MaxHeld)
        throw TooLarge{u"要读取的内容超过 %1 MB"_s.arg(kWorkbookMaxHeldMB)};
}

// The end record gives the directory's size and entry count. Nothing is said of a file without
// one; the zip library tells.
void checkZipDirectory(QFile &file)
{
    const qint64 size = file.size();
    const qint64 tail = std::min<qint64>(size, 22 + 65535);
    if (!file.seek(size - tail))
        return;
    const QByteArray b = file.read(tail);
    for (qsizetype i = b.size() - 22; i >= 0; --i) {
        if (!b.mid(i, 4).startsWith("PK\x05\x06"))
            continue;
        quint64 entries = littleEndian(b, i + 10, 2);
        quint64 bytes = littleEndian(b, i + 12, 4);
        // A zip64 archive keeps the true figures in a record of its own, found through the locator.
        if ((entries == 0xFFFF || bytes == 0xFFFFFFFF) && i >= 20 && b.mid(i - 20, 4) == "PK\x06\x07") {
            const quint64 at = littleEndian(b, i - 20 + 8, 8);
            if (at < quint64(size) && file.seek(qint64(at))) {
                const QByteArray z = file.read(56);
                if (z.size() == 56 && z.startsWith("PK\x06\x06")) {
                    entries = littleEndian(z, 32, 8);
                    bytes = littleEndian(z, 40, 8);
                }
            }
        }
        if (entries > MaxParts || bytes > MaxDirectory)
            throw TooLarge{u"压缩包中有 %1 个部分，超过 %2 个"_s.arg(entries).arg(MaxParts)};
        return;
    }
}

bool Package::has(const QString &part) const
{
    // Part names are case-insensitive in the package format.
    return zip_name_locate(m_zip, part.toUtf8().constData(), ZIP_FL_NOCASE) >= 0;
}

zip_file_t *Package::open(const QString &part) const
{
    const zip_int64_t index = zip_name_locate(m_zip, part.toUtf8().constData(), ZIP_FL_NOCASE);
    if (index < 0)
        throw Damaged{u"缺少 %1"_s.arg(part)};
    zip_file_t *file = zip_fopen_index(m_zip, zip_uint64_t(index), 0);
    if (!file)
        throw Damaged{u"无法解压 %1：%2"_s.arg(part, QString::fromUtf8(zip_strerror(m_zip)))};
    return file;
}

void Package::unpacked(qint64 bytes)
{
    m_unpacked += bytes;
    if (m_unpacked > MaxUnpacked)
        throw TooLarge{u"解压后的内容超过 %1 MB"_s.arg(kWorkbookMaxUnpackedMB)};
}

QXmlStreamReader::TokenType PartReader::next()
{
    if (m_leaving) {
        --m_depth;
        m_leaving = false;
    }
    for (;;) {
        const QXmlStreamReader::TokenType token = m_x.readNext();
        if (token == QXmlStreamReader::Invalid) {
            if (m_x.error() == QXmlStreamReader::PrematureEndOfDocumentError && feed())
                continue;
            throw Damaged{u"%1 第 %2 行：%3"_s.arg(m_part).arg(m_x.lineNumber()).arg(m_x.errorString())};
        }
        m_stretch = 0;
        if (token == QXmlStreamReader::StartElement && ++m_depth > MaxDepth)
            throw Damaged{u"%1 的元素嵌套超过 %2 层"_s.arg(m_part).arg(MaxDepth)};
        if (token == QXmlStreamReader::EndElement)
            m_leaving = true;
        // No workbook part has one; its entities could only be a way to grow the text.
        if (token == QXmlStreamReader::DTD)
            throw Damaged{u"%1 含有文档类型定义"_s.arg(m_part)};
        return token;
    }
}

bool PartReader::feed()
{
    QByteArray chunk(ChunkSize, Qt::Uninitialized);
    const zip_int64_t n = zip_fread(m_file, chunk.data(), zip_uint64_t(chunk.size()));
    if (n < 0)
        throw Damaged{u"无法解压 %1：%2"_s.arg(m_part, QString::fromUtf8(zip_file_strerror(m_file)))};
    if (n == 0)
        return false;
    m_package.unpacked(n);
    m_stretch += n;
    if (m_stretch > MaxStretch)
        throw TooLarge{u"%1 中有一段连续内容超过 %2 MB"_s.arg(m_part).arg(MaxStretch / MB)};
    chunk.truncate(qsizetype(n));
    m_x.addData(chunk);
    return true;
}

QString relationshipsPart(const QString &part)
{
    const qsizetype slash = part.lastIndexOf(u'/');
    return part.left(slash + 1) + u"_rels/"_s + part.mid(slash + 1) + u".rels"_s;
}

QHash<QString, Relationship> readRelationships(Package &package, const QString &sourcePart)
{
    QHash<QString, Relationship> out;
    PartReader r(package, relationshipsPart(sourcePart));
    while (r.next() != QXmlStreamReader::EndDocument) {
        if (r.xml().tokenType() != QXmlStreamReader::StartElement || r.xml().name() != u"Relationship")
            continue;
        const QXmlStreamAttributes a = r.xml().attributes();
        if (a.value(u"TargetMode"_s) == u"External")
            continue;
        const QString id = a.value(u"Id"_s).toString();
        Relationship rel{a.value(u"Type"_s).toString(), resolveTarget(sourcePart, a.value(u"Target"_s).toString())};
        package.budget.charge(64 + Budget::textCost(id) + Budget::textCost(rel.type) + Budget::textCost(rel.target));
        out.insert(id, rel);
    }
    return out;
}

bool hasType(const Relationship &r, QStringView kind)
{
    return r.type.endsWith(u'/' + kind.toString());
}

QString contentType(Package &package, const QString &part)
{
    const QString types = u"[Content_Types].xml"_s;
    if (!package.has(types))
        return QString();
    PartReader r(package, types);
    while (r.next() != QXmlStreamReader::EndDocument) {
        if (r.xml().tokenType() != QXmlStreamReader::StartElement || r.xml().name() != u"Override")
            continue;
        const QXmlStreamAttributes a = r.xml().attributes();
        if (a.value(u"PartName"_s).compare(u'/' + part, Qt::CaseInsensitive) == 0)
            return a.value(u"ContentType"_s).toString();
    }
    return QString();
}

} // namespace platform::xlsx
