// Reporting of exceptions that reach the Qt binding's edge.
// Qt binding of the named-controls layer (src/forms/qt).
#include "forms/qt/error_report.h"

#include <QMessageBox>
#include <QString>

namespace forms::qt {
namespace {

std::function<void(const std::exception&)>& Reporter() {
  static std::function<void(const std::exception&)> reporter;
  return reporter;
}

}  // namespace

void ReportError(const std::exception& error) {
  if (Reporter()) {
    Reporter()(error);
    return;
  }
  QMessageBox::critical(nullptr, QStringLiteral("Erreur"), QString::fromUtf8(error.what()));
}

void SetErrorReporter(std::function<void(const std::exception&)> reporter) {
  Reporter() = std::move(reporter);
}

}  // namespace forms::qt
