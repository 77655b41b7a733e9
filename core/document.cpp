#include "core/document.h"

#include "core/file_io.h"

#include <cmath>
#include <cstdio>
#include <vector>
#include <utility>

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

int Document::Put(const ext_float_pair& point) {
    int index = Find(point.vb);
    if (index >= 0)
        points.items[index] = point;
    else if ((index = points.insert_sorted(point)) < 0)
        return -1;
    Evaluate();
    return index;
}

bool Document::Remove(int index) {
    if (!points.remove(index)) return false;
    Evaluate();
    return true;
}

void Document::Replace(dyn_array_direct<ext_float_pair>& new_points, std::string& new_description) {
    std::swap(points.items, new_points.items);
    std::swap(points.count, new_points.count);
    std::swap(points.capacity, new_points.capacity);
    description.swap(new_description);
    Evaluate();
}

bool Document::Read(const char* path) {
    dyn_array_direct<ext_float_pair> read(10, 10, nullptr);
    std::string read_description;
    if (!internal_read(path, read, &read_description)) return false;
    Replace(read, read_description);
    if (!TakeDetermination()) determination.reset();
    return true;
}

bool Document::Save(const char* path, WriteFailure* failure) const {
    if (!determination) return internal_save(path, points, description, failure);
    return internal_save(path, points, description + DeterminationLines(*determination), failure);
}

bool Document::TakeDetermination() {
    Determination read;
    std::string rest;
    if (!SplitDetermination(description, read, rest)) return false;
    determination = read;
    description.swap(rest);
    return true;
}

DeterminationResult Document::Result() const { return EvaluateOnResults(*determination, derived); }

DeterminationResult EvaluateOnResults(const Determination& d, const Derived& derived) {
    std::vector<double> volumes;
    for (int i = 0; i < derived.results.size(); ++i) {
        const ext_float& key = derived.results[i]->key;
        volumes.push_back(key.undefined ? std::nan("") : key.value);
    }
    return EvaluateDetermination(d, volumes.data(), volumes.size());
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
