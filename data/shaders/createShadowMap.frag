// Only depth is written; the shadow target has no colour output.
void main(void) {
}
