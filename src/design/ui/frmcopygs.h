#pragma once
// "选取所要复制的门窗": picks the type whose bill the bill editor appends to its own, from a
// maker/series/type tree in the stored order of the tables, with a preview of the type's drawing.
// OK returns the type's 编号; any other way of closing returns nothing.
#include "catalogue/ui/dialogs.h"
#include "design/billtypes.h"

#include <optional>

class QTreeWidget;
class QTreeWidgetItem;

namespace platform {
class WidgetSurface;
}

namespace design {

class FrmCopyGS : public catalogue::InputDialogBase
{
    Q_OBJECT
public:
    explicit FrmCopyGS(QWidget *parent = nullptr);

    QTreeWidget *tree() const { return m_tree; }
    platform::WidgetSurface *preview() const { return m_preview; }
    static QString nodeTag(const QTreeWidgetItem *node);
    QTreeWidgetItem *nodeByTag(const QString &tag) const;

    void LoadCopyMakerNodes();
    void LoadCopySeriesNodes(QTreeWidgetItem *makerNode, const QList<TypeTreeSeries> &series);
    void LoadCopyTypeNodes(QTreeWidgetItem *seriesNode, const QList<DoorType> &types);

    // The drawing of a selected type in the preview; other nodes leave it as it is.
    void Tvw_NodeClick();
    void OKButton_Click();

    // The type confirmed with OK, or nullopt.
    std::optional<qint64> entered() const { return m_entered; }
    // Shows the dialog; the chosen type's 编号, or nullopt.
    static std::optional<qint64> ask(QWidget *parent);

private:
    QTreeWidget *m_tree = nullptr;
    platform::WidgetSurface *m_preview = nullptr;
    QString m_previewNumber;
    std::optional<qint64> m_entered;
};

} // namespace design
