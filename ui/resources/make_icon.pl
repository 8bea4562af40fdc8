#!/usr/bin/perl
# Writes the application icon from one picture, morvel_icon.svg, at every size Windows asks
# for: 16, 20, 24, 32, 40, 48 and 64 pixels as 32-bit images with alpha, and 256 pixels as a
# PNG, the form Windows Vista and later read at that size.
# Usage: make_icon.pl SOURCE.svg OUTPUT.ico [PREVIEW_FOLDER]
# PREVIEW_FOLDER, when given, also receives each size as icon-N.png for looking at.
#
# The picture is made of rectangles. Each is drawn with its edges moved to whole pixels at
# every size and every stroke kept at least one pixel wide, so that the small images stay
# sharp instead of being a blurred copy of the large one. Only Perl and its zlib module are
# needed.
use strict;
use warnings;
use Compress::Zlib qw(compress crc32);

my @SIZES = (16, 20, 24, 32, 40, 48, 64, 256);
my $PNG_FROM = 256;    # sizes from here on are stored as PNG
my $UNITS = 256;       # the picture's width and height in its own units

my ($source, $out, $previews) = @ARGV;
die "usage: make_icon.pl SOURCE.svg OUTPUT.ico [PREVIEW_FOLDER]\n" unless $source && $out;

# ---------------------------------------------------------------------------------------------
# Reading the picture: its rectangles in drawing order, each with the smallest icon size at
# which it is drawn.

sub Colour {
  my ($text, $where) = @_;
  return undef if !defined $text || $text eq 'none';
  $text =~ /^#([0-9A-Fa-f]{2})([0-9A-Fa-f]{2})([0-9A-Fa-f]{2})$/
    or die "make_icon.pl: $where: colour '$text' is not #RRGGBB\n";
  return [hex $1, hex $2, hex $3];
}

sub ReadPicture {
  my ($path) = @_;
  open(my $fh, '<', $path) or die "make_icon.pl: $path: $!\n";
  my $text = do { local $/; <$fh> };
  close $fh;
  $text =~ s/<!--.*?-->//gs;
  my (@shapes, @minSizes);
  while ($text =~ /<(\/?)(\w+)([^>]*?)\/?>/g) {
    my ($closing, $element, $attributes) = ($1, $2, $3);
    my %at = $attributes =~ /([\w-]+)="([^"]*)"/g;
    if ($element eq 'g') {
      if ($closing) { pop @minSizes; next }
      push @minSizes, $at{'data-min-size'} // 0;
    } elsif ($element eq 'rect') {
      my $where = "$path: rect at $at{x},$at{y}";
      my $shape = {
        x0 => $at{x}, y0 => $at{y}, x1 => $at{x} + $at{width}, y1 => $at{y} + $at{height},
        fill => Colour($at{fill}, $where), opacity => $at{'fill-opacity'} // 1,
        stroke => Colour($at{stroke}, $where), strokeWidth => $at{'stroke-width'} // 0,
        minSize => (sort { $b <=> $a } 0, @minSizes)[0],
      };
      push @shapes, $shape;
    } elsif ($element !~ /^(svg|xml)$/) {
      die "make_icon.pl: $path: <$element> is not drawn; use <rect> and <g>\n";
    }
  }
  return @shapes;
}

# ---------------------------------------------------------------------------------------------
# Drawing at one size: pixels as [red, green, blue, alpha], alpha from 0 to 1.

sub Snap { my ($units, $size) = @_; return int($units * $size / $UNITS + 0.5) }

sub Paint {
  my ($pixels, $size, $x0, $y0, $x1, $y1, $colour, $opacity) = @_;
  for my $y ($y0 .. $y1 - 1) {
    next if $y < 0 || $y >= $size;
    for my $x ($x0 .. $x1 - 1) {
      next if $x < 0 || $x >= $size;
      my $under = $pixels->[$y][$x];
      # Source over destination, colours not premultiplied.
      my $alpha = $opacity + $under->[3] * (1 - $opacity);
      my @mixed = map {
        ($colour->[$_] * $opacity + $under->[$_] * $under->[3] * (1 - $opacity)) / $alpha
      } 0 .. 2;
      $pixels->[$y][$x] = [@mixed, $alpha];
    }
  }
}

sub Draw {
  my ($size, @shapes) = @_;
  my @pixels = map { [map { [0, 0, 0, 0] } 1 .. $size] } 1 .. $size;
  for my $shape (grep { $size >= $_->{minSize} } @shapes) {
    # A stroke lies half outside the rectangle, half inside.
    my $half = $shape->{strokeWidth} / 2;
    my ($x0, $y0) = map { Snap($_ - $half, $size) } @$shape{qw(x0 y0)};
    my ($x1, $y1) = map { Snap($_ + $half, $size) } @$shape{qw(x1 y1)};
    $x1 = $x0 + 1 if $x1 <= $x0;
    $y1 = $y0 + 1 if $y1 <= $y0;
    my $inset = 0;
    if ($shape->{stroke}) {
      # Four bands: top, bottom, left, right.
      my $w = $inset = Snap($shape->{strokeWidth}, $size) || 1;
      Paint(\@pixels, $size, @$_, $shape->{stroke}, 1)
        for [$x0, $y0, $x1, $y0 + $w], [$x0, $y1 - $w, $x1, $y1],
            [$x0, $y0 + $w, $x0 + $w, $y1 - $w], [$x1 - $w, $y0 + $w, $x1, $y1 - $w];
    }
    if ($shape->{fill}) {
      Paint(\@pixels, $size, $x0 + $inset, $y0 + $inset, $x1 - $inset, $y1 - $inset,
            $shape->{fill}, $shape->{opacity});
    }
  }
  return \@pixels;
}

sub Byte { my ($value) = @_; return int($value * 255 + 0.5) }

# ---------------------------------------------------------------------------------------------
# Image formats

# A PNG: 8-bit RGBA, rows without filtering, compressed by zlib.
sub Png {
  my ($pixels, $size) = @_;
  my $rows = join '', map {
    "\0" . join '', map { pack('C4', (map { int($_ + 0.5) } @$_[0 .. 2]), Byte($_->[3])) } @$_
  } @$pixels;
  my $chunk = sub {
    my ($type, $data) = @_;
    return pack('N', length $data) . $type . $data . pack('N', crc32($type . $data));
  };
  return "\x89PNG\r\n\x1a\n" . $chunk->('IHDR', pack('NNCCCCC', $size, $size, 8, 6, 0, 0, 0))
         . $chunk->('IDAT', compress($rows, 9)) . $chunk->('IEND', '');
}

# An icon image: a 32-bit bottom-up bitmap (blue, green, red, alpha) followed by the
# one-bit mask that systems without alpha use, its rows padded to four bytes.
sub IconBitmap {
  my ($pixels, $size) = @_;
  my ($colours, $mask) = ('', '');
  for my $row (reverse @$pixels) {
    $colours .= pack('C4', (map { int($_ + 0.5) } @$_[2, 1, 0]), Byte($_->[3])) for @$row;
    my $bits = join '', map { Byte($_->[3]) == 0 ? '1' : '0' } @$row;
    $bits .= '0' x ((32 - length($bits) % 32) % 32);
    $mask .= pack('B*', $bits);
  }
  my $header = pack('VVVvvVVVVVV', 40, $size, 2 * $size, 1, 32, 0,
                    length($colours) + length($mask), 0, 0, 0, 0);
  return $header . $colours . $mask;
}

# ---------------------------------------------------------------------------------------------
# The icon file: a directory of every image, then the images.

my @shapes = ReadPicture($source);
my @images;
for my $size (@SIZES) {
  my $pixels = Draw($size, @shapes);
  push @images, [$size, $size >= $PNG_FROM ? Png($pixels, $size) : IconBitmap($pixels, $size)];
  if ($previews) {
    open(my $fh, '>:raw', "$previews/icon-$size.png") or die "make_icon.pl: $previews: $!\n";
    print $fh Png($pixels, $size);
    close $fh;
  }
}

my $directory = pack('vvv', 0, 1, scalar @images);
my $offset = 6 + 16 * @images;
my $data = '';
for (@images) {
  my ($size, $image) = @$_;
  # Width and height 0 stand for 256.
  $directory .= pack('CCCCvvVV', $size % 256, $size % 256, 0, 0, 1, 32, length $image,
                     $offset + length $data);
  $data .= $image;
}
open(my $fh, '>:raw', $out) or die "make_icon.pl: $out: $!\n";
print $fh $directory, $data;
close($fh) or die "make_icon.pl: $out: $!\n";
