#pragma once

#include "core/scheme_search.h"

#include <chrono>
#include <optional>

class QWidget;

namespace hcalc {

// Runs the sharing search on a worker thread and returns when it has ended. Meanwhile the window is kept
// painted but takes no input; a search still running after `patience` shows a modal progress dialog
// (objectName "SearchProgress") whose Cancel button stops it. nullopt when it was cancelled.
std::optional<SearchOutcome> RunSchemeSearch(QWidget* parent, const SchemeInputs& inputs,
                                             std::chrono::milliseconds patience = std::chrono::milliseconds(300));

}  // namespace hcalc
