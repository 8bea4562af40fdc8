#!/usr/bin/perl
# Writes the application icon: one 32 x 32 image in 16 colours (4 bits per pixel), a small
# window with a blue title bar carrying a white "Hp", and two overlapping white pages.
# Usage: make_icon.pl OUTPUT.ico
use strict;
use warnings;

my $out = shift or die "usage: make_icon.pl OUTPUT.ico\n";

# The standard 16-colour palette, as RGB.
my @PALETTE = (
  0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
  0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF,
);
my ($BLACK, $NAVY, $SILVER, $GREY, $BLUE, $WHITE) = (0, 4, 7, 8, 12, 15);

# The picture, top row first: each character is a palette index in hex; "." is transparent.
my @grid = map { [('.') x 32] } 1 .. 32;
sub Fill {
  my ($x0, $y0, $x1, $y1, $colour) = @_;
  for my $y ($y0 .. $y1) { $grid[$y][$_] = sprintf('%X', $colour) for $x0 .. $x1 }
}
sub Frame {
  my ($x0, $y0, $x1, $y1, $edge, $inside) = @_;
  Fill($x0, $y0, $x1, $y1, $edge);
  Fill($x0 + 1, $y0 + 1, $x1 - 1, $y1 - 1, $inside);
}
sub Dots {
  my ($colour, @points) = @_;
  while (my ($x, $y) = splice(@points, 0, 2)) { Fill($x, $y, $x, $y, $colour) }
}

Frame(1, 2, 30, 29, $BLACK, $SILVER);   # the window
Fill(2, 3, 29, 10, $BLUE);               # its title bar
Fill(2, 10, 29, 10, $NAVY);
Frame(25, 5, 28, 8, $BLACK, $SILVER);    # a close box
# "H"
Fill(4, 4, 4, 8, $WHITE); Fill(8, 4, 8, 8, $WHITE); Fill(5, 6, 7, 6, $WHITE);
# "p", its stem reaching below the bowl
Fill(10, 5, 10, 9, $WHITE); Dots($WHITE, 11, 5, 12, 5, 13, 6, 11, 7, 12, 7);
# Two pages, the front one overlapping the back one, each with lines of text.
Frame(5, 13, 17, 25, $GREY, $WHITE);
Fill(7, 15, 15, 15, $GREY); Fill(7, 17, 11, 17, $GREY);
Frame(12, 17, 24, 27, $BLACK, $WHITE);
Fill(14, 19, 22, 19, $GREY); Fill(14, 21, 22, 21, $GREY); Fill(14, 23, 19, 23, $GREY);
Fill(14, 25, 21, 25, $GREY);

# Pixel data, bottom row first: colour indices two to a byte, then the transparency mask.
my ($pixels, $mask) = ('', '');
for my $row (reverse @grid) {
  my $hex = join '', map { $_ eq '.' ? '0' : $_ } @$row;
  $pixels .= pack('H*', $hex);
  $mask .= pack('B*', join '', map { $_ eq '.' ? '1' : '0' } @$row);
}
my $palette = join '', map { pack('CCCC', $_ & 0xFF, ($_ >> 8) & 0xFF, $_ >> 16, 0) } @PALETTE;
my $header = pack('VVVvvVVVVVV', 40, 32, 64, 1, 4, 0, length($pixels) + length($mask), 0, 0, 16, 0);
my $image = $header . $palette . $pixels . $mask;

open(my $fh, '>:raw', $out) or die "make_icon.pl: $out: $!\n";
print $fh pack('vvv', 0, 1, 1);                                  # icon directory, one image
print $fh pack('CCCCvvVV', 32, 32, 16, 0, 1, 4, length($image), 22);
print $fh $image;
close($fh) or die "make_icon.pl: $out: $!\n";
