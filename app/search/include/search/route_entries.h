// The library entries the search-route screens call, each bound at its
// first call (shell/binding.h): the common library's lists, groups and
// selection, the search-route library PXKROT, and the opening calls of the
// illustration-index and local-parts libraries. Strings a library only reads
// are NUL-terminated copies; strings it fills are the caller's fixed-length
// strings (VbString). Counts and statuses are 16-bit, by reference.
#pragma once

#include <cstdint>

#include "pxall/vbstring.h"
#include "shell/binding.h"

namespace px::search::lib {

// --- PXALL: list boxes, groups, selection ------------------------------------
inline Declared<int32_t(int32_t, const char*)> VBSetListBox{"PXALL", "_VBSetListBox@8"};
inline Declared<int32_t(int32_t)> VBAllResetListBox{"PXALL", "_VBAllResetListBox@4"};
inline Declared<int32_t(int32_t)> VBMakeListGrpMei{"PXALL", "_VBMakeListGrpMei@4"};
inline Declared<int32_t(const char*, int32_t, int16_t*)> VBMakeListGrpPnc{"PXALL", "_VBMakeListGrpPnc@12"};
inline Declared<int32_t()> VBInitGrpTmp{"PXALL", "_VBInitGrpTmp@0"};
inline Declared<int32_t()> VBTermGrpTmp{"PXALL", "_VBTermGrpTmp@0"};
inline Declared<int32_t()> VBClearSelTmp{"PXALL", "_VBClearSelTmp@0"};
inline Declared<int32_t()> VBWriteSelectTmp{"PXALL", "_VBWriteSelectTmp@0"};
inline Declared<int32_t()> VBclear_figno{"PXALL", "_VBclear_figno@0"};
inline Declared<int32_t()> VBread_figno{"PXALL", "_VBread_figno@0"};
inline Declared<int32_t(int16_t*)> VBwrite_figno{"PXALL", "_VBwrite_figno@4"};
inline Declared<int32_t()> VBClearLcpselTmp{"PXALL", "_VBClearLcpselTmp@0"};
inline Declared<int32_t()> VBClearLcpTmp{"PXALL", "_VBClearLcpTmp@0"};


// --- PXKROT: route checks ------------------------------------------------------
inline Declared<int32_t()> VBKrotClearFigGrp{"PXKROT", "_VBKrotClearFigGrp@0"};
inline Declared<int32_t(int16_t)> VBKrotSetFigGrp{"PXKROT", "_VBKrotSetFigGrp@4"};
inline Declared<int32_t(const char*, int16_t*)> VBKrotCheckFigNo{"PXKROT", "_VBKrotCheckFigNo@8"};
inline Declared<int32_t(const char*, VbString*, int16_t*)> VBKrotCheckPnc{"PXKROT", "_VBKrotCheckPnc@12"};
inline Declared<int32_t(const char*, VbString*, int16_t*)> VBKrotCheckPn{"PXKROT", "_VBKrotCheckPn@12"};

// --- PXKROT: user part groups --------------------------------------------------
inline Declared<int32_t(const char*)> VBKgrlSetGroupCode{"PXKROT", "_VBKgrlSetGroupCode@4"};
inline Declared<int32_t(int16_t*)> VBKgrlLoad{"PXKROT", "_VBKgrlLoad@4"};
inline Declared<int32_t(int32_t, int16_t*)> VBKgrlSelectGroup{"PXKROT", "_VBKgrlSelectGroup@8"};
inline Declared<int32_t(VbString*, VbString*)> VBKgrpGetGroup{"PXKROT", "_VBKgrpGetGroup@8"};

// --- PXKROT: keyword -----------------------------------------------------------
inline Declared<int32_t(const char*, int16_t*, VbString*, int16_t*)> VBKkwdLoad{"PXKROT", "_VBKkwdLoad@16"};
inline Declared<int32_t(int32_t, int16_t*)> VBKkwdWriteSelectTmp{"PXKROT", "_VBKkwdWriteSelectTmp@8"};

// --- PXKROT: part-name-code entry ----------------------------------------------
inline Declared<int32_t(const char*, int16_t*)> VBKpncCheckPnc{"PXKROT", "_VBKpncCheckPnc@8"};
inline Declared<int32_t(const char*, int16_t*, VbString*, int16_t*)> VBKpncMakePncLst{"PXKROT",
                                                                                     "_VBKpncMakePncLst@16"};
inline Declared<int32_t(int32_t, const char*, const char*, int16_t*)> VBKpncAddRepPnc{"PXKROT",
                                                                                     "_VBKpncAddRepPnc@16"};
inline Declared<int32_t(int32_t)> VBKpncDelPnc{"PXKROT", "_VBKpncDelPnc@4"};
inline Declared<int32_t(int32_t, int16_t*)> VBKpncWriteSelectTmp{"PXKROT", "_VBKpncWriteSelectTmp@8"};

// --- PXEMOK and PXLPPS: the routes' opening calls and the figure list ------------------------------
inline Declared<int32_t(int16_t*, int16_t*)> VBEmokInit{"PXEMOK", "_VBEmokInit@8"};
inline Declared<int32_t()> VBEmokTerm{"PXEMOK", "_VBEmokTerm@0"};
inline Declared<int32_t(int16_t, VbString*, VbString*, VbString*, int16_t*, int16_t*)> VBEmokGetPageData{
    "PXEMOK", "_VBEmokGetPageData@24"};
inline Declared<int32_t(int32_t, int32_t, int32_t, int32_t, int32_t)> VBEmokSelectAll{"PXEMOK", "_VBEmokSelectAll@20"};
inline Declared<int32_t(int32_t, int32_t, int32_t, int32_t, int32_t, int16_t*)> VBEmokSelectListBox{
    "PXEMOK", "_VBEmokSelectListBox@24"};
inline Declared<int32_t(int32_t, int32_t, int32_t, int32_t, int32_t, float, float, int16_t*)> VBEmokSelectZentai{
    "PXEMOK", "_VBEmokSelectZentai@32"};
inline Declared<int32_t(int32_t, int32_t, int32_t, int32_t, int32_t, float, float, int16_t*)> VBEmokSelectShosai{
    "PXEMOK", "_VBEmokSelectShosai@32"};
inline Declared<int32_t(int32_t)> VBEmokClear{"PXEMOK", "_VBEmokClear@4"};
inline Declared<int32_t(int16_t*, VbString*)> VBLpemMakeFigListFile{"PXLPPS", "_VBLpemMakeFigListFile@8"};
inline Declared<int32_t(int32_t, int16_t*)> VBLpemSetFigNo{"PXLPPS", "_VBLpemSetFigNo@8"};

// --- PXLPPS: the local-parts pages and their picks ------------------------------
inline Declared<int32_t()> VBLppsInit{"PXLPPS", "_VBLppsInit@0"};
inline Declared<int32_t()> VBLppsTerm{"PXLPPS", "_VBLppsTerm@0"};
inline Declared<int32_t(int16_t*)> VBLppsExec{"PXLPPS", "_VBLppsExec@4"};
inline Declared<int32_t(int16_t, VbString*, VbString*, VbString*, VbString*, int16_t*, int16_t*)> VBLppsGetPageData{
    "PXLPPS", "_VBLppsGetPageData@28"};
inline Declared<int32_t(const char*, int32_t, int32_t, int16_t*)> VBLppsSelectListBox{"PXLPPS",
                                                                                   "_VBLppsSelectListBox@16"};
inline Declared<int32_t(int32_t, int32_t)> VBLppsClickListBox{"PXLPPS", "_VBLppsClickListBox@8"};
inline Declared<int32_t(const char*, int16_t, int32_t, int32_t, int16_t*)> VBLppsEntryQty{"PXLPPS",
                                                                                       "_VBLppsEntryQty@20"};
inline Declared<int32_t(const char*, int32_t)> VBLppsSelectAll{"PXLPPS", "_VBLppsSelectAll@8"};

// Every entry above, for the tests that answer them.
inline EntryPoint* const kAllEntries[] = {
    &VBSetListBox.entry(),        &VBAllResetListBox.entry(),     &VBMakeListGrpMei.entry(),
    &VBMakeListGrpPnc.entry(),    &VBInitGrpTmp.entry(),          &VBTermGrpTmp.entry(),
    &VBClearSelTmp.entry(),       &VBWriteSelectTmp.entry(),      &VBclear_figno.entry(),
    &VBKrotClearFigGrp.entry(),   &VBKrotSetFigGrp.entry(),       &VBKrotCheckFigNo.entry(),
    &VBKrotCheckPnc.entry(),      &VBKrotCheckPn.entry(),         &VBKgrlSetGroupCode.entry(),
    &VBKgrlLoad.entry(),          &VBKgrlSelectGroup.entry(),     &VBKgrpGetGroup.entry(),
    &VBKkwdLoad.entry(),          &VBKkwdWriteSelectTmp.entry(),  &VBKpncCheckPnc.entry(),
    &VBKpncMakePncLst.entry(),    &VBKpncAddRepPnc.entry(),       &VBKpncDelPnc.entry(),
    &VBKpncWriteSelectTmp.entry(), &VBEmokInit.entry(),           &VBEmokTerm.entry(),
    &VBLpemMakeFigListFile.entry(), &VBLpemSetFigNo.entry(),   &VBClearLcpselTmp.entry(),
    &VBread_figno.entry(),        &VBwrite_figno.entry(),         &VBEmokGetPageData.entry(),
    &VBEmokSelectAll.entry(),     &VBEmokSelectListBox.entry(),   &VBEmokSelectZentai.entry(),
    &VBEmokSelectShosai.entry(),  &VBEmokClear.entry(),
    &VBClearLcpTmp.entry(),       &VBLppsInit.entry(),            &VBLppsTerm.entry(),
    &VBLppsExec.entry(),          &VBLppsGetPageData.entry(),     &VBLppsSelectListBox.entry(),
    &VBLppsClickListBox.entry(),  &VBLppsEntryQty.entry(),        &VBLppsSelectAll.entry(),
};

}  // namespace px::search::lib
