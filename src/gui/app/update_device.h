#pragma once
// The first half of "Update Device UDP": build the configuration image of the
// active project and write bin/bank1.bin and bin/bank2.bin.

class QWidget;

namespace mirandel {

struct AppContext;
class Prompter;

// Builds and saves the image. Shows an error box (through `prompter`) and
// returns false when the build or a write failed; the update dialog must then
// not open.
bool buildAndSaveImage(AppContext &context, Prompter &prompter, QWidget *parent);

} // namespace mirandel
