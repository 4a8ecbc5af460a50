// The work files the inquiry screens read are laid out by the libraries that
// write them; their layout headers (byte layouts written out at their tops)
// are the one description the screens read them by. The program does not
// link the libraries, so their headers are reached by their place in the
// source tree.
#pragma once

#include "pxall/cd_popup.h"  // PXPOPUP.TMP, 38-byte records

#include "../../../../libs/hinb/include/hinb/hinb_layout.h"  // PXHINB0.TMP, PXHINB1.TMP
#include "../../../../libs/newp/include/newp/newp_layout.h"  // PXNEWP2.TMP
#include "../../../../libs/teki/include/teki/teki_layout.h"  // SCRTEKI.TMP
