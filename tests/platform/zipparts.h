#pragma once
// Zip packages built by the tests: workbooks as other programs store them, and crafted ones whose
// parts unpack to far more than the file holds. A repeated part is made as libzip compresses it,
// so the test never holds it whole.
#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>
#include <algorithm>
#include <cstring>
#include <utility>
#include <zip.h>

namespace zipparts {

using Parts = QList<std::pair<QString, QByteArray>>;

// head, then `repeat` times unit, then tail.
struct RepeatedPart
{
    QString name;
    QByteArray head;
    QByteArray unit;
    qint64 repeat = 0;
    QByteArray tail;

    qint64 size() const { return head.size() + unit.size() * repeat + tail.size(); }
};

namespace detail {
struct RepeatSource
{
    RepeatedPart part;
    qint64 pos = 0;
    zip_error_t error{};

    zip_int64_t read(char *out, qint64 len)
    {
        const qint64 start = pos;
        const qint64 body = part.unit.size() * part.repeat;
        while (len > 0 && pos < part.size()) {
            const QByteArray *from;
            qint64 offset;
            if (pos < part.head.size()) {
                from = &part.head;
                offset = pos;
            } else if (pos < part.head.size() + body) {
                from = &part.unit;
                offset = (pos - part.head.size()) % part.unit.size();
            } else {
                from = &part.tail;
                offset = pos - part.head.size() - body;
            }
            const qint64 n = std::min(len, from->size() - offset);
            std::memcpy(out, from->constData() + offset, size_t(n));
            out += n;
            len -= n;
            pos += n;
        }
        return pos - start;
    }
};

inline zip_int64_t repeatCallback(void *user, void *data, zip_uint64_t len, zip_source_cmd_t cmd)
{
    auto *s = static_cast<RepeatSource *>(user);
    switch (cmd) {
    case ZIP_SOURCE_OPEN:
        s->pos = 0;
        return 0;
    case ZIP_SOURCE_READ:
        return s->read(static_cast<char *>(data), qint64(len));
    case ZIP_SOURCE_CLOSE:
        return 0;
    case ZIP_SOURCE_STAT: {
        auto *st = static_cast<zip_stat_t *>(data);
        zip_stat_init(st);
        st->size = zip_uint64_t(s->part.size());
        st->valid |= ZIP_STAT_SIZE;
        return sizeof(zip_stat_t);
    }
    case ZIP_SOURCE_ERROR:
        return zip_error_to_data(&s->error, data, len);
    case ZIP_SOURCE_FREE:
        zip_error_fini(&s->error);
        delete s;
        return 0;
    case ZIP_SOURCE_SUPPORTS:
        return zip_source_make_command_bitmap(ZIP_SOURCE_OPEN, ZIP_SOURCE_READ, ZIP_SOURCE_CLOSE, ZIP_SOURCE_STAT,
                                              ZIP_SOURCE_ERROR, ZIP_SOURCE_FREE, ZIP_SOURCE_SUPPORTS, -1);
    default:
        zip_error_set(&s->error, ZIP_ER_OPNOTSUPP, 0);
        return -1;
    }
}
} // namespace detail

// Builds a zip from parts; the data stays alive in `parts` until the archive is closed.
inline bool writeZip(const QString &path, const Parts &parts, const QList<RepeatedPart> &repeated = {})
{
    int err = 0;
    zip_t *z = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &err);
    if (!z)
        return false;
    const auto add = [&](const QString &name, zip_source_t *src) {
        if (src && zip_file_add(z, name.toUtf8().constData(), src, ZIP_FL_ENC_UTF_8) >= 0)
            return true;
        zip_source_free(src);
        zip_discard(z);
        return false;
    };
    for (const auto &[name, data] : parts) {
        if (!add(name, zip_source_buffer(z, data.constData(), zip_uint64_t(data.size()), 0)))
            return false;
    }
    for (const RepeatedPart &part : repeated) {
        auto *source = new detail::RepeatSource{part};
        zip_error_init(&source->error);
        zip_source_t *src = zip_source_function(z, detail::repeatCallback, source);
        if (!src)
            delete source;
        if (!add(part.name, src))
            return false;
    }
    return zip_close(z) == 0;
}

inline QByteArray zipEntry(const QString &path, const QString &name)
{
    int err = 0;
    zip_t *z = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &err);
    if (!z)
        return {};
    QByteArray out;
    if (zip_file_t *f = zip_fopen(z, name.toUtf8().constData(), 0)) {
        char buf[4096];
        zip_int64_t n;
        while ((n = zip_fread(f, buf, sizeof buf)) > 0)
            out.append(buf, qsizetype(n));
        zip_fclose(f);
    }
    zip_discard(z);
    return out;
}

inline const QByteArray xmlHead = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";
inline const QByteArray mainNs = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
inline const QByteArray relNs = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";

// The package's relationships, naming xl/workbook.xml as the workbook.
inline const QByteArray packageRels = xmlHead
    + "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
      "<Relationship Id=\"rId1\" Type=\"" + relNs + "/officeDocument\" Target=\"xl/workbook.xml\"/>"
      "</Relationships>";
inline const QByteArray sheetHead = xmlHead + "<worksheet xmlns=\"" + mainNs + "\"><sheetData>";
inline const QByteArray sheetTail = "</sheetData></worksheet>";
inline const QByteArray stringsHead = xmlHead + "<sst xmlns=\"" + mainNs + "\">";
inline const QByteArray stringsTail = "</sst>";

// The parts of a workbook with one sheet, "表一", at xl/worksheets/sheet1.xml and its shared
// strings at xl/sharedStrings.xml; leave out those two to give them as repeated parts.
inline Parts workbookParts(const QByteArray &mainContentType =
                               "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml")
{
    const QByteArray contentTypes = xmlHead
        + "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
          "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
          "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
          "<Override PartName=\"/xl/workbook.xml\" ContentType=\"" + mainContentType + "\"/>"
          "</Types>";
    const QByteArray workbook = xmlHead + "<workbook xmlns=\"" + mainNs + "\" xmlns:r=\"" + relNs + "\"><sheets>"
        "<sheet name=\"表一\" sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>";
    const QByteArray workbookRels = xmlHead
        + "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
          "<Relationship Id=\"rId1\" Type=\"" + relNs + "/worksheet\" Target=\"worksheets/sheet1.xml\"/>"
          "<Relationship Id=\"rId2\" Type=\"" + relNs + "/sharedStrings\" Target=\"sharedStrings.xml\"/>"
          "</Relationships>";
    return {
        {QStringLiteral("[Content_Types].xml"), contentTypes},
        {QStringLiteral("_rels/.rels"), packageRels},
        {QStringLiteral("xl/workbook.xml"), workbook},
        {QStringLiteral("xl/_rels/workbook.xml.rels"), workbookRels},
    };
}

// workbookParts() with the sheet rows and the shared string items given.
inline Parts workbookParts(const QByteArray &rows, const QByteArray &stringItems)
{
    Parts parts = workbookParts();
    parts.append({QStringLiteral("xl/worksheets/sheet1.xml"), sheetHead + rows + sheetTail});
    parts.append({QStringLiteral("xl/sharedStrings.xml"), stringsHead + stringItems + stringsTail});
    return parts;
}

} // namespace zipparts
