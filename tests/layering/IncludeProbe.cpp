// Built only to see whether PROBE_HEADER can be included.
#include PROBE_HEADER
