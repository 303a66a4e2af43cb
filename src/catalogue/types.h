#pragma once
// Rows of the six catalogue tables, and the fixed description of the four kinds of priced item
// (profiles, steel, panels, fittings) that the store, the browser and the dialogs share.
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <QVariantList>
#include <optional>

namespace catalogue {

// 厂家类别 of a maker, which is also the kind character of its tree node; "5" marks a series node.
enum class MakerKind { Profile = 1, Steel = 2, Panel = 3, Fitting = 4 };
inline const QString kSeriesNodeKind = QStringLiteral("5");

struct Maker
{
    qint64 id = 0;
    QString name;
    QString phone;
    QString address;
    QString fax;
    int kind = 0; // as stored; 1 to 4 when written by this program
};

struct Series
{
    qint64 makerId = 0;
    qint64 id = 0;
    QString name;
};

enum class ItemKind { Profile, Steel, Panel, Fitting };

struct ItemField
{
    QString column;
    bool numeric = false;
};

struct ItemKindInfo
{
    ItemKind kind;
    QString table;
    QString ownerColumn;       // 系列编号 for profiles, 厂家编号 for the others
    QString nodeKind;          // kind character of the tree node items are added under
    QString listKind;          // the first two characters of the list's first header
    QList<ItemField> fields;   // the columns after the owner and 编号, in table order
    int priceField = 0;        // index into fields
    QStringList headers;       // list headers in order, ending with an empty one
    int idColumn() const { return int(fields.size()) + 1; } // list column of the 编号
};

const ItemKindInfo &itemKindInfo(ItemKind kind);
const QList<ItemKind> &allItemKinds();

// The kind of a list by its first header's text ("板材名称" -> panels); nullopt for any other.
std::optional<ItemKind> itemKindFromHeader(QStringView firstHeader);
// The kind of item added under a tree node of this kind character ("5", "2", "3", "4").
std::optional<ItemKind> itemKindOfNode(QStringView nodeKind);

// One item: its owner (series or maker), its 编号 and the fields after them in table order, texts
// as QString and numbers as double; a null field is an invalid QVariant.
struct Item
{
    ItemKind kind = ItemKind::Profile;
    qint64 ownerId = 0;
    qint64 id = 0;
    QVariantList values;
};

// What a list row shows: the fields in order (numbers in the general form, null as ""), then the
// owner's 编号 and the item's 编号.
QStringList itemRowTexts(const Item &item);
// The fields alone, as the edit dialog's boxes and the row's first columns hold them.
QStringList itemFieldTexts(const QVariantList &values);

} // namespace catalogue
