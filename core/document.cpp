#include "core/document.h"
#include "core/gran.h"

#include "core/file_io.h"

#include <cmath>
#include <cstdio>
#include <vector>
#include <utility>
#include <vector>

Document document;

dyn_array_direct<ext_float_pair>& arr_vb = document.points;
dyn_array_direct<ext_float>& arr_de = document.derived.de;
dyn_array_direct<ext_float>& arr_d2e = document.derived.d2e;
dyn_array_direct<sorted_struct>& arr_res = document.derived.results;
ext_float& max_steepness = document.derived.max_steepness;
Smoothing& smoothing = document.derived.smoothing;

void recalc_arrays() { document.Evaluate(); }

int Document::Find(const ext_float& vb) const {
    for (int i = 0; i < points.size(); ++i)
        if (points.items[i].vb == vb) return i;
    return -1;
}

namespace {

std::vector<ext_float_pair> Copy(const dyn_array_direct<ext_float_pair>& points) {
    return std::vector<ext_float_pair>(points.items, points.items + points.size());
}

// Takes the points with the volumes of `out` out of `points` and merges `in` in, both ascending
// in volume, in one pass; false when there was no memory (then nothing changed).
bool Splice(dyn_array_direct<ext_float_pair>& points, const std::vector<ext_float_pair>& out,
            const std::vector<ext_float_pair>& in) {
    dyn_array_direct<ext_float_pair> merged(0, 10, nullptr);
    if (!merged.reserve(points.size() + static_cast<int>(in.size()) + 1)) return false;
    size_t o = 0, k = 0;
    for (int i = 0; i < points.size(); ++i) {
        const ext_float_pair& p = points.items[i];
        while (o < out.size() && out[o].vb < p.vb) ++o;
        if (o < out.size() && out[o].vb == p.vb) continue;
        while (k < in.size() && in[k].vb < p.vb) merged.append(in[k++]);
        merged.append(p);
    }
    while (k < in.size()) merged.append(in[k++]);
    std::swap(points.items, merged.items);
    std::swap(points.count, merged.count);
    std::swap(points.capacity, merged.capacity);
    return true;
}

}  // namespace

int Document::Put(const ext_float_pair& point) {
    UndoStep step;
    int index = Find(point.vb);
    if (index >= 0) {
        step.removed.push_back(points.items[index]);
        points.items[index] = point;
    } else if ((index = points.insert_sorted(point)) < 0) {
        return -1;
    }
    step.added.push_back(point);
    history.Record(std::move(step));
    changed = true;
    Evaluate();
    return index;
}

int Document::Change(int index, const ext_float_pair& point) {
    if (index < 0 || index >= points.size()) return -1;
    UndoStep step;
    const int other = Find(point.vb);
    step.removed.push_back(points.items[index]);
    if (other >= 0 && other != index) step.removed.insert(other < index ? step.removed.begin() : step.removed.end(), points.items[other]);
    step.added.push_back(point);
    if (!Splice(points, step.removed, step.added)) return -1;
    history.Record(std::move(step));
    changed = true;
    Evaluate();
    return Find(point.vb);
}

bool Document::Remove(int index) { return Remove(std::vector<int>{index}); }

bool Document::Remove(const std::vector<int>& indexes) {
    UndoStep step;
    for (size_t k = 0; k < indexes.size(); ++k) {
        if (indexes[k] < 0 || indexes[k] >= points.size() || (k > 0 && indexes[k] <= indexes[k - 1])) return false;
        step.removed.push_back(points.items[indexes[k]]);
    }
    if (step.removed.empty()) return false;
    if (step.removed.size() == 1)
        points.remove(indexes[0]);
    else if (!Splice(points, step.removed, step.added))
        return false;
    history.Record(std::move(step));
    changed = true;
    Evaluate();
    return true;
}

void Document::Swap(dyn_array_direct<ext_float_pair>& other_points, std::string& other_description) {
    std::swap(points.items, other_points.items);
    std::swap(points.count, other_points.count);
    std::swap(points.capacity, other_points.capacity);
    description.swap(other_description);
}

void Document::Replace(dyn_array_direct<ext_float_pair>& new_points, std::string& new_description) {
    Swap(new_points, new_description);
    // The quantity travels with the points as its line, so an undone import is in its own
    // quantity again.
    new_description += QuantityLine(quantity);
    quantity = SplitQuantity(description);
    UndoStep step;
    step.whole = true;
    step.removed = Copy(new_points);
    step.description = new_description;
    step.file_name = file_name;
    step.name_automatic = name_automatic;
    history.Record(std::move(step));
    changed = true;
    Evaluate();
}

int Document::Apply(UndoStep& step, bool forward) {
    int first = 0;
    if (step.whole) {
        dyn_array_direct<ext_float_pair> other(0, 10, nullptr);
        if (!other.reserve(static_cast<int>(step.removed.size()) + 1)) return -1;
        for (const ext_float_pair& p : step.removed) other.append(p);
        Swap(other, step.description);
        step.description += QuantityLine(quantity);
        quantity = SplitQuantity(description);
        step.removed = Copy(other);
        std::swap(file_name, step.file_name);
        std::swap(name_automatic, step.name_automatic);
    } else {
        const auto& out = forward ? step.removed : step.added;
        const auto& in = forward ? step.added : step.removed;
        if (!Splice(points, out, in)) return -1;
        if (!in.empty()) first = Find(in.front().vb);
        else if (!out.empty())  // the point that followed the ones taken out
            while (first < points.size() && points.items[first].vb < out.front().vb) ++first;
    }
    Evaluate();
    return first;
}

int Document::Undo() { return Travel(false); }

int Document::Redo() { return Travel(true); }

int Document::Travel(bool forward) {
    if (forward ? !history.CanRedo() : !history.CanUndo()) return -1;
    const int first = Apply(forward ? history.ToRedo() : history.ToUndo(), forward);
    if (first < 0) return -1;
    if (forward)
        history.Redone();
    else
        history.Undone();
    changed = !history.AtSaved();
    return first;
}

void Document::MarkSaved(bool forget) {
    if (forget) history.Clear();
    history.MarkSaved();
    changed = false;
}

bool Document::Read(const char* path) {
    dyn_array_direct<ext_float_pair> read(10, 10, nullptr);
    std::string read_description;
    if (!internal_read(path, read, &read_description)) return false;
    Swap(read, read_description);
    history.Clear();
    if (!TakeDetermination()) determination.reset();
    quantity = SplitQuantity(description);
    Evaluate();
    return true;
}

bool Document::Save(const char* path, WriteFailure* failure) const {
    std::string lines = description + QuantityLine(quantity);
    if (determination) lines += DeterminationLines(*determination, quantity);
    return internal_save(path, points, lines, failure);
}

bool Document::TakeDetermination() {
    Determination read;
    std::string rest;
    if (!SplitDetermination(description, read, rest)) return false;
    determination = read;
    description.swap(rest);
    return true;
}

DeterminationResult Document::Result() const { return ResultOf(*determination); }

DeterminationResult Document::ResultOf(const Determination& d) const {
    DeterminationResult result;
    result.field = ValidateDetermination(d);
    if (result.field != DeterminationField::none) {
        result.problem = ResultProblem::invalid_field;
        return result;
    }
    if (d.point.kind == EndPointKind::set_value) {
        const CurveReading reached = set_value_end_point(points.items, points.size(), d.point.set_value);
        if (!reached.found) {
            result.problem = ResultProblem::not_reached;
            return result;
        }
        return ComputeResult(d, reached.value);
    }
    if (d.point.kind == EndPointKind::gran) return GranDeterminationResult(*this, d);
    std::vector<double> volumes;
    for (int i = 0; i < derived.results.size(); ++i) {
        const ext_float& key = derived.results[i]->key;
        volumes.push_back(key.undefined ? std::nan("") : key.value);
    }
    return EvaluateDetermination(d, volumes.data(), volumes.size());
}

std::vector<CurveReading> Document::SetValueEndPoints() const {
    std::vector<CurveReading> readings;
    if (determination)
        for (double value : determination->set_values)
            readings.push_back(set_value_end_point(points.items, points.size(), value));
    return readings;
}

void Document::Evaluate() { Evaluate(recognition, min_steepness); }

void Document::Evaluate(int mode, int least_steepness) { evaluate(points, derived, mode, least_steepness); }

bool parse_point_text(const char* text, ext_float_pair& point) {
    char buffer[256];
    std::snprintf(buffer, sizeof buffer, "%s", text);
    char* vb_token = skip_ws(buffer);
    char* vb_end = seek(vb_token);
    char* e_token = vb_end;
    if (*vb_end) {
        e_token = skip_ws(vb_end + 1);
        *vb_end = '\0';
        *seek(e_token) = '\0';
    }
    ext_float vb, e;
    if (!vb.parse(vb_token) || !e.parse(e_token)) return false;
    point = ext_float_pair(vb, e);
    return true;
}
