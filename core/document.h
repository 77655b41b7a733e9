// One titration document: the measured points in ascending volume, the comment lines that
// describe them, the file they belong to and whether they have unsaved changes, and the
// evaluation derived from the points, redone whenever the points change. The program and
// titrion-eval both work on it.
#pragma once
#include "core/calc.h"
#include "core/determination.h"
#include "core/dyn_array_direct.h"
#include "core/ext_float.h"
#include "core/ph.h"
#include "core/quantity.h"
#include "core/safe_write.h"
#include "core/undo.h"

#include <optional>
#include <string>
#include <vector>

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
    // mV or pH; kept in the file as its own comment line, out of `description` while open.
    Quantity quantity = Quantity::mv;

    // Every change of the points below is one step of `history`, and marks the document changed.
    UndoHistory history;

    // The index of the point with volume `vb`, or -1.
    int Find(const ext_float& vb) const;
    // Replaces the point with the same volume, or inserts the point in order; its index, or -1
    // when the array could not grow (then nothing changed).
    int Put(const ext_float_pair& point);
    // The point at `index` becomes `point`; another point with its volume is replaced. Its new
    // index, or -1 (then nothing changed).
    int Change(int index, const ext_float_pair& point);
    // False for an index outside the points (then nothing changed).
    bool Remove(int index);
    // The points at the ascending `indexes`; false when one is outside (then nothing changed).
    bool Remove(const std::vector<int>& indexes);
    // The points and the description change places with the ones given, which leave with the
    // old ones. One step, which gives back the old points, description and file name. The
    // quantity is the one the new description's line names (mV without one); the old one
    // leaves as its line in the old description.
    void Replace(dyn_array_direct<ext_float_pair>& new_points, std::string& new_description);
    // Take back the last step, or do again the last one taken back: the index of the first
    // point the step brought in, or 0; -1 when there is nothing to do or no memory for it.
    // The document is changed unless it is back where it was last saved.
    int Undo();
    int Redo();
    // The document as it is is saved (or opened, when `forget` also drops the history).
    void MarkSaved(bool forget = false);
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
    // The same for another determination (titrion-eval's options over the file's).
    DeterminationResult ResultOf(const Determination& d) const;
    // Where the curve first reaches each of the determination's set values (none without one).
    std::vector<CurveReading> SetValueEndPoints() const;

private:
    void Swap(dyn_array_direct<ext_float_pair>& other_points, std::string& other_description);
    int Apply(UndoStep& step, bool forward);
    int Travel(bool forward);  // Redo when forward, else Undo
};

// The program's document; arr_vb and the other names of core/calc.h are views of it.
extern Document document;

// The first two blank-separated tokens of `text` (as the clipboard carries one point) as a
// point; false unless both are numbers.
bool parse_point_text(const char* text, ext_float_pair& point);
