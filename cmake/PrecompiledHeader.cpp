// The one source of the precompiled-header targets: it exists so that each
// precompiled header has a target that builds it.
