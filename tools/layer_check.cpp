// The program of a layer's link check: it calls nothing, so that linking the whole layer with only
// the libraries the layer declares shows every reference the layer makes outside them.
int main() { return 0; }
