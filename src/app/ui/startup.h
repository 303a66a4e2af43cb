#pragma once
class QApplication;
namespace app { int runApplication(QApplication &a); }
