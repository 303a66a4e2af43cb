#pragma once
// The type dialog: a door/window type's name and its library drawing, chosen with the drawing
// chooser and previewed. OK returns the name as typed and the drawing number; any other way of
// closing returns nothing.
#include "catalogue/ui/dialogs.h"

#include <QString>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;

namespace platform {
class WidgetSurface;
}

namespace design {

class FrmInputMC : public catalogue::InputDialogBase
{
    Q_OBJECT
public:
    explicit FrmInputMC(QWidget *parent = nullptr);

    void setLabelCaption(const QString &caption);
    void setTypeName(const QString &name);
    // Fills the drawing box and draws the drawing into the preview; "" leaves both empty.
    void setDrawingNumber(const QString &number);

    QLineEdit *nameBox() const { return m_name; }
    QLineEdit *drawingBox() const { return m_drawing; }
    platform::WidgetSurface *preview() const { return m_preview; }

    // Opens the drawing chooser; a chosen drawing fills the box and the preview.
    void CmdLoadMC();

    struct Result
    {
        QString name;
        QString drawingNumber;
    };
    std::optional<Result> entered() const { return m_entered; }
    // Shows the dialog with a caption (and, when given, a label caption), pre-filled; the result,
    // or nullopt when it was not confirmed.
    static std::optional<Result> ask(QWidget *parent, const QString &caption, const QString &name = QString(),
                                     const QString &drawingNumber = QString(),
                                     const QString &labelCaption = QString());

private:
    void onOk();
    void redraw();

    QLabel *m_label = nullptr;
    QLineEdit *m_name = nullptr;
    QLineEdit *m_drawing = nullptr;
    QPushButton *m_load = nullptr;
    platform::WidgetSurface *m_preview = nullptr;
    std::optional<Result> m_entered;
};

} // namespace design
