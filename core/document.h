// One titration document: the measured points in ascending volume, the comment lines that
// describe them, the file they belong to and whether they have unsaved changes, and the
// evaluation derived from the points, redone whenever the points change. The program and
// titrion-eval both work on it.
#pragma once
#include "core/calc.h"
#include "core/determination.h"
#include "core/dyn_array_direct.h"
#include "core/ext_float.h"
#include "core/safe_write.h"

#include <optional>
#include <string>

class Document {
public:
    Document() = default;
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    dyn_array_direct<ext_float_pair> points{10, 10, nullptr};
    Derived derived;
    std::string description;  // the comment lines before the first point, each ended by '\n'
    std::string file_name;    // the file's path, or an automatic name while it has none
    bool name_automatic = true;
    bool changed = false;  // unsaved changes
    // What turns the chosen equivalence volume into the lab's result; kept in the file as
    // comment lines after the description, and out of `description` while the file is open.
    std::optional<Determination> determination;

    // The index of the point with volume `vb`, or -1.
    int Find(const ext_float& vb) const;
    // Replaces the point with the same volume, or inserts the point in order; its index, or -1
    // when the array could not grow (then nothing changed).
    int Put(const ext_float_pair& point);
    // False for an index outside the points (then nothing changed).
    bool Remove(int index);
    // The points and the description change places with the ones given, which leave with the
    // old ones.
    void Replace(dyn_array_direct<ext_float_pair>& new_points, std::string& new_description);
    // Reads a data file into the points and the description (see internal_read); on failure
    // the document stays as it was.
    bool Read(const char* path);
    // Writes the points and the description to `path` (see internal_save).
    bool Save(const char* path, WriteFailure* failure = nullptr) const;
    // Evaluates the points under the program's recognition settings, or the ones given.
    void Evaluate();
    void Evaluate(int recognition, int min_steepness);
    // Takes the determination's lines out of the description into `determination`; false
    // (and `determination` as it was) when the description has none.
    bool TakeDetermination();
    // The determination's result on the result list as shown; only with a determination.
    DeterminationResult Result() const;
};

// The determination's result on an evaluation's result list.
DeterminationResult EvaluateOnResults(const Determination& d, const Derived& derived);

// The program's document; arr_vb and the other names of core/calc.h are views of it.
extern Document document;

// The first two blank-separated tokens of `text` (as the clipboard carries one point) as a
// point; false unless both are numbers.
bool parse_point_text(const char* text, ext_float_pair& point);
