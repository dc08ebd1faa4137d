// Nothing: the target only carries the precompiled header that others reuse.
