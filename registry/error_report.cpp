#include "registry/error_report.h"

#include "toolkit/message_box.h"

namespace registry {

std::wstring ErrorReportText(const toolkit::RunTimeError& error) {
    return L"Error: " + std::to_wstring(error.Number()) + L". " + error.Description();
}

void ShowErrorReport(const toolkit::RunTimeError& error, const std::wstring& routineName) {
    toolkit::MsgBox(ErrorReportText(error), 0, routineName);
}

}  // namespace registry
