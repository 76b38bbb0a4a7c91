// keyloomctl: the keyboard's configuration from the command line.
int main() { return 0; }
