#pragma once
// The zip package of an .xlsx file, read part by part as streams of XML tokens, within bounds on
// what one workbook may cost whatever its content: the bytes unpacked, the XML between two tokens,
// the nesting, the number of parts, and what the reading keeps. Private to the workbook reader.
#include "workbook.h"

#include <QFile>
#include <QHash>
#include <QString>
#include <QXmlStreamReader>
#include <zip.h>

namespace platform::xlsx {

// Thrown by the package and its readers; the reader turns them into its messages.
struct Damaged
{
    QString why;
};
struct TooLarge
{
    QString why;
};

// What the reading keeps, estimated with the containers' overhead; refused past the bound.
class Budget
{
public:
    void charge(qint64 bytes);
    // A text being collected must still fit.
    void check(const QString &growing) const;
    static qint64 textCost(const QString &s) { return 48 + 2 * s.size(); }

private:
    qint64 m_held = 0;
};

// Refuses a zip whose central directory (which the zip library reads whole) is too large.
void checkZipDirectory(QFile &file);

class Package
{
public:
    explicit Package(zip_t *zip) : m_zip(zip) {}
    ~Package() { zip_discard(m_zip); }
    Package(const Package &) = delete;
    Package &operator=(const Package &) = delete;

    bool has(const QString &part) const;
    // The part opened for reading; a missing part is damage.
    zip_file_t *open(const QString &part) const;
    // Counts what all parts together unpack to.
    void unpacked(qint64 bytes);

    Budget budget;

private:
    zip_t *m_zip;
    qint64 m_unpacked = 0;
};

// One part as a stream of XML tokens, fed from the zip as the reader asks for more.
class PartReader
{
public:
    PartReader(Package &package, const QString &part) : m_package(package), m_part(part), m_file(package.open(part)) {}
    ~PartReader() { zip_fclose(m_file); }
    PartReader(const PartReader &) = delete;
    PartReader &operator=(const PartReader &) = delete;

    // The next token; EndDocument at the end. Broken XML, a document type and deep nesting throw.
    QXmlStreamReader::TokenType next();
    // The depth of the element a start or end token belongs to (1 for the root); for text, the
    // depth of the element it lies in.
    int depth() const { return m_depth; }
    const QXmlStreamReader &xml() const { return m_x; }
    const QString &part() const { return m_part; }

private:
    bool feed();

    Package &m_package;
    QString m_part;
    zip_file_t *m_file;
    QXmlStreamReader m_x;
    qint64 m_stretch = 0; // bytes fed since the last token
    int m_depth = 0;
    bool m_leaving = false;
};

struct Relationship
{
    QString type;
    QString target; // a part name, resolved
};

// "xl/_rels/workbook.xml.rels" for "xl/workbook.xml"; "_rels/.rels" for the package ("").
QString relationshipsPart(const QString &part);
// The relationships of a part (of the package for ""), by id.
QHash<QString, Relationship> readRelationships(Package &package, const QString &sourcePart);
// Relationship types differ between the transitional and strict forms only before the last "/".
bool hasType(const Relationship &r, QStringView kind);
// The content type the package gives a part; "" when it gives none.
QString contentType(Package &package, const QString &part);

} // namespace platform::xlsx
