// Where exceptions thrown by the logic during a user action end up: Qt
// cannot carry them through its event loop, so the binding catches them at
// its edge and reports them here, never dropping them.
// Qt binding of the named-controls layer (src/forms/qt).
#pragma once

#include <exception>
#include <functional>

namespace forms::qt {

// Reports `error`. By default: a critical message box with its text.
void ReportError(const std::exception& error);

// Replaces the reporter (a host's log, a test's recorder); an empty
// function restores the default.
void SetErrorReporter(std::function<void(const std::exception&)> reporter);

}  // namespace forms::qt
