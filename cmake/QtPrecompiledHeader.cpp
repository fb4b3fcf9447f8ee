// The one source of tavrin_qt_pch: it exists so that the precompiled Qt
// header has a target that builds it.
