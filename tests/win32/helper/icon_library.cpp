// A library that holds icons and nothing else, for the icon tests: red at index 0 (resource id
// 101), blue at index 1 (resource id 205).
