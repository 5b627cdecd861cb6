#include "gui/app/update_device.h"

namespace mirandel {

bool buildAndSaveImage(AppContext &, Prompter &, QWidget *)
{
    return true; // placeholder until the image builder exists
}

} // namespace mirandel
