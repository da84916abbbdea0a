/* start: an empty program, the floor of starting a process */
int main(void) { return 0; }
