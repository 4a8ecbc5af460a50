// The texts of the vehicle screens: messages and screen texts.
#include "demo_texts.h"

namespace pxbuild::demo {

const AreaTexts& texts_vehicle() {
    static const AreaTexts texts = {
        {},  // messages
        {},  // screen texts
        {},  // help files
    };
    return texts;
}

}  // namespace pxbuild::demo
