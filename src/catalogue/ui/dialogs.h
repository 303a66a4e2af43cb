#pragma once
// The catalogue's modal dialogs. Each returns what OK confirmed (entered(), nullopt until OK succeeds,
// so any other way of closing reads as cancel); its static ask() shows it through
// platform::execDialog and returns that.
#include "catalogue/types.h"

#include <QDialog>
#include <QList>
#include <QSet>
#include <QStringList>
#include <memory>
#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace catalogue {

// Key handling shared by the dialogs: Enter moves the focus along a chain (selecting the text of the
// box it reaches), numeric boxes drop every typed character but digits and ".", and the first box
// takes the focus when the dialog first shows.
class InputDialogBase : public QDialog
{
    Q_OBJECT
protected:
    explicit InputDialogBase(QWidget *parent);

    void chainEnter(QWidget *from, QWidget *to);
    void setNumericOnly(QLineEdit *box);
    void setFirstFocus(QWidget *widget);
    // Shows the message, then puts the focus on the box.
    void refuse(QWidget *box, const QString &text, const QString &title = QStringLiteral("提示"));
    QPushButton *makeButton(const QString &name, const QString &caption);

    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QSet<QObject *> m_numeric;
    QWidget *m_first = nullptr;
    bool m_shown = false;
};

// Texts of the catalogue's validation messages.
inline const QString kEmptyMessage = QStringLiteral("数据不能为空！");
inline const QString kNotANumberMessage = QStringLiteral("请输入正确的数字！");

// A maker: name, telephone, address, fax and kind. OK returns the four boxes as typed and the kind
// 1-4.
class FrmInputCJ : public InputDialogBase
{
    Q_OBJECT
public:
    explicit FrmInputCJ(QWidget *parent = nullptr);
    void setLabelCaptions(const QStringList &captions); // Label1-Label5
    void setTexts(const QStringList &texts);            // Text1(0)-Text1(3)
    void setKindIndex(int index);                       // Combo1's position, -1 for none

    // `shown` with the fields confirmed by OK (its 编号 kept), or nullopt.
    std::optional<Maker> entered() const { return m_entered; }
    // Shows the dialog with a caption, label captions and a maker's fields (kind 0: none chosen).
    static std::optional<Maker> ask(QWidget *parent, const QString &caption, const QStringList &labels,
                                    const Maker &shown);

private:
    void onOk();
    QList<QLineEdit *> m_boxes;
    QList<QLabel *> m_labels;
    QComboBox *m_kind = nullptr;
    Maker m_shown;
    std::optional<Maker> m_entered;
};

// One line of text (a series name here; the type tree's maker and series names too). OK returns the
// text as typed.
class FrmInputXL : public InputDialogBase
{
    Q_OBJECT
public:
    explicit FrmInputXL(QWidget *parent = nullptr);
    void setLabelCaption(const QString &caption);
    void setText(const QString &text);

    std::optional<QString> entered() const { return m_entered; }
    // Shows the dialog with a caption, a label and a pre-filled text; the entered text, or
    // nullopt when it was not confirmed.
    static std::optional<QString> ask(QWidget *parent, const QString &caption, const QString &label,
                                      const QString &text = QString());

private:
    void onOk();
    QLineEdit *m_box = nullptr;
    QLabel *m_label = nullptr;
    std::optional<QString> m_entered;
};

// Add a maker or a series under the selected profile maker.
class FrmXLOption : public InputDialogBase
{
    Q_OBJECT
public:
    // What is selected when the window closes, however it closes.
    enum Choice : qint16 { AddMaker = 0, AddSeries = 1 };

    explicit FrmXLOption(QWidget *parent = nullptr);
    void done(int result) override;
    Choice choice() const { return m_choice; }
    static Choice choose(QWidget *parent);

protected:
    void showEvent(QShowEvent *event) override;

private:
    QRadioButton *m_addMaker = nullptr;
    QRadioButton *m_addSeries = nullptr;
    Choice m_choice = AddMaker;
};

// Captions, labels and add defaults of the item dialogs, by kind.
struct ItemDialogTexts
{
    QString addCaption;
    QString editCaption;
    QStringList labels;
    QStringList defaults; // one per box, "" where the box starts empty
};
const ItemDialogTexts &itemDialogTexts(ItemKind kind);

// The fields of one item, one box per field in table order (Text1(0) ...). OK returns the boxes as
// typed.
class FrmInputItem : public InputDialogBase
{
    Q_OBJECT
public:
    ItemKind kind() const { return m_kind; }
    int boxCount() const { return int(m_boxes.size()); }
    QStringList texts() const;
    void setLabelCaptions(const QStringList &captions);
    void setTexts(const QStringList &texts);

    std::optional<QStringList> entered() const { return m_entered; }
    // Shows the dialog of the kind with a caption, the kind's labels and the texts in its boxes.
    static std::optional<QStringList> ask(ItemKind kind, QWidget *parent, const QString &caption,
                                          const QStringList &texts);

protected:
    FrmInputItem(ItemKind kind, const QString &name, QWidget *parent);

private:
    void onOk();
    ItemKind m_kind;
    QList<QLineEdit *> m_boxes;
    QList<QLabel *> m_labels;
    std::optional<QStringList> m_entered;
};

class FrmInputXCXG : public FrmInputItem
{
    Q_OBJECT
public:
    // Profiles or steel: seven fields.
    explicit FrmInputXCXG(ItemKind kind, QWidget *parent = nullptr);
};

class FrmInputPC : public FrmInputItem
{
    Q_OBJECT
public:
    explicit FrmInputPC(QWidget *parent = nullptr);
};

class FrmInputPJ : public FrmInputItem
{
    Q_OBJECT
public:
    explicit FrmInputPJ(QWidget *parent = nullptr);
};

std::unique_ptr<FrmInputItem> makeItemDialog(ItemKind kind, QWidget *parent);

// One price for a group of items; starts at "10000". OK returns the price as typed.
class FrmPrice : public InputDialogBase
{
    Q_OBJECT
public:
    explicit FrmPrice(QWidget *parent = nullptr);
    QLineEdit *box() const { return m_box; }

    std::optional<QString> entered() const { return m_entered; }
    static std::optional<QString> ask(QWidget *parent, const QString &caption);

private:
    void onOk();
    QLineEdit *m_box = nullptr;
    std::optional<QString> m_entered;
};

} // namespace catalogue
