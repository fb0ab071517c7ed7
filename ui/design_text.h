#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

#include "ui/form.h"

namespace vk41 {

// A window's design written as text, one control per line in drawing order
// (the first line is drawn lowest):
//
//   form Objectt                      caption "Схема установки"
//   size 18960 13770                  back #FFFFFF | buttonface | window
//   border sizable | dialog           picture FILE   (the window's background)
//   menu NAME "Caption" [PARENT] [key=Ctrl+Z]
//   include FILE                      the lines of another embedded part, here
//   line NAME[(i)] X1 Y1 X2 Y2 [color=C] [width=N]
//   shape NAME[(i)] L T W H [kind=rect|square|oval|circle|rrect|rsquare]
//                           [fill=C] [border=C|none] [width=N]
//   label NAME[(i)] L T W H [caption=T] [font=T] [size=P] [bold] [fore=C]
//                           [back=C] [transparent] [align=left|center|right] [tip=T]
//   button | option | frame | combo | textbox | picture  NAME[(i)] L T W H  ...
//                           [caption=T] [picture=FILE] [selected] [text=T]
//                           [items="a|b|c"] [scroll=none|vertical|horizontal|both]
//   chart NAME L T W H [size=P]   traces over time; its window gives the data
//   timer NAME interval=MS
//
// Every control also takes [in=CONTAINER] [hidden] [disabled]. Texts are
// single words or double-quoted with \" and \\ escapes; `#` at the start of a
// line begins a comment. The keys and bare words are those of the property
// table (ui/properties.cpp). A word or key it does not know, or a value that
// is none of the listed ones, is a mistake: parseDesign throws DesignError
// naming its line and the word.
FormDesign parseDesign(std::string_view text);

// The design of an embedded `.form` file, parsed once.
const FormDesign& embeddedDesign(std::string_view fileName);

struct DesignError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

}  // namespace vk41
