#include "app/graph_gran.h"

#include <cmath>
#include <cstdio>

#include "app/main_window.h"
#include "core/calc.h"
#include "core/document.h"
#include "core/gran.h"
#include "resources/resource.h"

namespace {

std::string gran_note, gran_message;

std::string Number(double value, int decimals) {
    char text[EXT_FLOAT_TEXT];
    ext_float(value).format(text, 0, decimals, use_comma);
    return text;
}

// The problem that leaves no line to draw, in words; "" when there is a line.
UINT ProblemString(GranProblem problem) {
    switch (problem) {
    case GranProblem::none: return 0;
    case GranProblem::not_ph: return IDS_GRAN_NOT_PH;
    case GranProblem::no_v0: return IDS_GRAN_NO_V0;
    case GranProblem::no_equivalence: return IDS_GRAN_NO_RANGE;
    default: return IDS_GRAN_NO_LINE;
    }
}

// An edit bound to a double, empty for NaN (the default); otherwise a number from 0 up (at most
// 100 °C for the temperature).
bool OptionalNumberSyncProc(unsigned op, HWND ctl, tag_CTL_SYNC* row) {
    double* data = static_cast<double*>(row->data);
    if (!ctl) return false;
    if (op == SYNC_OP_OUT) return SetWindowTextA(ctl, std::isnan(*data) ? "" : Number(*data, 2).c_str()) != 0;
    char text[64];
    GetWindowTextA(ctl, text, sizeof text);
    double value = NAN;
    bool blank = true;
    for (const char* c = text; *c; ++c) blank = blank && (*c == ' ');
    if (!blank) {
        ext_float read;
        if (!read.parse(text) || read.undefined || !std::isfinite(read.value) || read.value < 0) return false;
        if (row->id == IDC_GRAN_CELSIUS && read.value > 100) return false;
        value = read.value;
    }
    if (op == SYNC_OP_IN) *data = value;
    return true;
}

// The function's drop-down list gets its items when the dialog opens.
bool FunctionSyncProc(unsigned op, HWND ctl, tag_CTL_SYNC* row) {
    if (op == SYNC_OP_OUT && ctl) {
        SendMessageA(ctl, CB_RESETCONTENT, 0, 0);
        for (UINT id : {IDS_GRAN_AFTER, IDS_GRAN_BEFORE_STRONG, IDS_GRAN_BEFORE_WEAK})
            SendMessageA(ctl, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ResourceString(id).c_str()));
    }
    return ComboSyncProc(op, ctl, row);
}

}  // namespace

void ClearGranView(OrtogonalGraph& graph) {
    graph.fit.shown = false;
    graph.note = graph.message = nullptr;
}

void AddGranView(OrtogonalGraph& graph) {
    ClearGranView(graph);
    const GranResult gran = EvaluateGran(document, gran_options, DocumentV0(document));
    if (gran.problem == GranProblem::not_ph || gran.problem == GranProblem::no_v0) {
        gran_message = ResourceString(ProblemString(gran.problem));
        graph.message = gran_message.c_str();
        return;
    }
    graph.points.reserve(static_cast<int>(gran.curve.size()));
    for (const ext_float_pair& p : gran.curve)
        if (p.vb && p.e) graph.AddPoint(p.vb.value, p.e.value, p.vb, 4);
    if (gran.ok()) {
        const GranLine& line = gran.line;
        graph.fit = {true, line.intercept, line.slope, std::fmin(line.end_point, gran.range.from), gran.range.to};
        graph.marks.append(ext_float(line.end_point));
        gran_note = FormatResource(IDS_GRAN_END_POINT, Number(line.end_point, res_precis).c_str(),
                                   Number(line.u, res_precis).c_str());
    } else {
        gran_note = ResourceString(ProblemString(gran.problem));
    }
    graph.note = gran_note.c_str();
}

GranOptionRows::GranOptionRows()
    : function(gran_options.function),
      from(gran_options.from),
      to(gran_options.to),
      celsius(gran_options.celsius),
      range_error(ResourceString(IDS_GRAN_BAD_RANGE)),
      celsius_error(ResourceString(IDS_GRAN_BAD_CELSIUS)),
      rows{{SYNC_CUSTOM, FunctionSyncProc, IDC_GRAN_FUNCTION, &function, 0, nullptr, nullptr, nullptr},
           {SYNC_CUSTOM, OptionalNumberSyncProc, IDC_GRAN_FROM, &from, 0, range_error.c_str(), nullptr, nullptr},
           {SYNC_CUSTOM, OptionalNumberSyncProc, IDC_GRAN_TO, &to, 0, range_error.c_str(), nullptr, nullptr},
           {SYNC_CUSTOM, OptionalNumberSyncProc, IDC_GRAN_CELSIUS, &celsius, 0, celsius_error.c_str(), nullptr, nullptr}} {}

void GranOptionRows::Store() const {
    gran_options.function = static_cast<GranFunction>(function);
    gran_options.from = from, gran_options.to = to, gran_options.celsius = celsius;
}
