# The embedded product archive; filled in by the payload build.
set(PAYLOAD_RC "")
