// The texts of the search screens: messages and screen texts.
#include "demo_texts.h"

namespace pxbuild::demo {

const AreaTexts& texts_search() {
    static const AreaTexts texts = {
        {},  // messages
        {},  // screen texts
        {},  // help files
    };
    return texts;
}

}  // namespace pxbuild::demo
