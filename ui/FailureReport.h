#pragma once

class QWidget;

namespace qzds {

class RunTimeError;

// Shows the run-time error in a modal message box with a single 确定 button and waits until the
// user dismisses it.
void FailureReport(QWidget* parent, const RunTimeError& error);

} // namespace qzds
