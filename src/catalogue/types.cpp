#include "types.h"

#include "app/maindb.h"

using namespace Qt::StringLiterals;

namespace catalogue {

namespace {
ItemField text(const QString &column) { return {column, false}; }
ItemField number(const QString &column) { return {column, true}; }

const QList<ItemKindInfo> &infos()
{
    static const QList<ItemKindInfo> list = {
        {ItemKind::Profile, u"型材"_s, u"系列编号"_s, kSeriesNodeKind, u"型材"_s,
         {text(u"型材名称"_s), text(u"型材型号"_s), number(u"型材长度"_s), number(u"型材厚度"_s),
          text(u"型材颜色"_s), number(u"型材线密度"_s), number(u"型材吨价格"_s)},
         6,
         {u"型材名称"_s, u"型材规格"_s, u"型材长度mm"_s, u"型材厚度mm"_s, u"型材颜色"_s, u"型材线密度"_s,
          u"型材吨价格(元)"_s, u"系列编号"_s, u"编号"_s, QString()}},
        {ItemKind::Steel, u"型钢"_s, u"厂家编号"_s, u"2"_s, u"型钢"_s,
         {text(u"型钢名称"_s), text(u"型钢规格"_s), number(u"型钢长度"_s), number(u"型钢厚度"_s),
          text(u"型钢颜色"_s), number(u"型钢线密度"_s), number(u"型钢吨价格"_s)},
         6,
         {u"型钢名称"_s, u"型钢规格"_s, u"型钢长度mm"_s, u"型钢厚度mm"_s, u"型钢颜色"_s, u"型钢线密度"_s,
          u"型钢吨价格(元)"_s, u"厂家编号"_s, u"编号"_s, QString()}},
        {ItemKind::Panel, u"玻璃"_s, u"厂家编号"_s, u"3"_s, u"板材"_s,
         {text(u"玻璃名称"_s), number(u"玻璃长"_s), number(u"玻璃宽"_s), number(u"玻璃厚度"_s),
          text(u"玻璃颜色"_s), number(u"玻璃平方单价"_s)},
         5,
         {u"板材名称"_s, u"板材长mm"_s, u"板材宽mm"_s, u"板材厚度mm"_s, u"板材颜色"_s, u"板材平方单价"_s,
          u"厂家编号"_s, u"编号"_s, QString()}},
        {ItemKind::Fitting, u"配件"_s, u"厂家编号"_s, u"4"_s, u"配件"_s,
         {text(u"配件名称"_s), text(u"配件规格"_s), text(u"配件单位"_s), number(u"配件单价"_s)},
         3,
         {u"配件名称"_s, u"配件规格"_s, u"配件单位"_s, u"配件单价"_s, u"厂家编号"_s, u"编号"_s, QString()}},
    };
    return list;
}
} // namespace

const ItemKindInfo &itemKindInfo(ItemKind kind) { return infos().at(int(kind)); }

const QList<ItemKind> &allItemKinds()
{
    static const QList<ItemKind> kinds = {ItemKind::Profile, ItemKind::Steel, ItemKind::Panel, ItemKind::Fitting};
    return kinds;
}

std::optional<ItemKind> itemKindFromHeader(QStringView firstHeader)
{
    const QStringView prefix = firstHeader.left(2);
    for (const ItemKindInfo &info : infos())
        if (prefix == info.listKind)
            return info.kind;
    return std::nullopt;
}

std::optional<ItemKind> itemKindOfNode(QStringView nodeKind)
{
    for (const ItemKindInfo &info : infos())
        if (nodeKind == info.nodeKind)
            return info.kind;
    return std::nullopt;
}

QStringList itemFieldTexts(const QVariantList &values)
{
    QStringList texts;
    texts.reserve(values.size());
    for (const QVariant &v : values)
        texts << app::fieldText(v);
    return texts;
}

QStringList itemRowTexts(const Item &item)
{
    QStringList texts = itemFieldTexts(item.values);
    texts << QString::number(item.ownerId) << QString::number(item.id);
    return texts;
}

} // namespace catalogue
