#pragma once
// Messages of the drawing engine (the capacity message, the empty-drawing message). The engine has
// no windows: it hands them to a handler that the user-interface layer installs; without one they
// go to the log.
#include <QString>
#include <functional>

namespace drawing {

enum class NoticeIcon { None, Information, Exclamation, Critical, Question };

using NoticeHandler = std::function<void(const QString &text, const QString &title, NoticeIcon icon)>;

// Returns the previous handler.
NoticeHandler setNoticeHandler(NoticeHandler handler);
void notice(const QString &text, const QString &title, NoticeIcon icon);

inline const QString kCapacityText = QStringLiteral("数组超出范围,请与程序员联系");
inline const QString kCapacityTitle = QStringLiteral("#Error");
// The DXF import's count of the entities it left out.
inline const QString kDxfLeftOutTitle = QStringLiteral("导入DXF图");

} // namespace drawing
