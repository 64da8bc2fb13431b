// The panel's diagnostic log. Every host-called operation reports its entry and
// its result through it with the messages it has always used; in this build the
// log is silent: it accepts every message and formats, stores and writes nothing.
#pragma once

namespace jc {

template <class... Args>
inline void pdeProlog(const void* /*logger*/, const char* /*format*/, const Args&... /*values*/) {}
template <class... Args>
inline void pdeEpilog(const void* /*logger*/, const char* /*format*/, const Args&... /*values*/) {}
template <class... Args>
inline void pdeLog(const void* /*logger*/, const char* /*format*/, const Args&... /*values*/) {}

}  // namespace jc
