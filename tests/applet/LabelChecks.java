import java.awt.Canvas;
import java.awt.Color;
import java.awt.Font;
import java.awt.FontMetrics;
import java.awt.Graphics2D;
import java.awt.Rectangle;
import java.awt.image.BufferedImage;

/** WrappingLabel's line breaks and drawing, measured in a monospaced font. */
class LabelChecks {
    static void run(Checks checks) {
        Font font = new Font("Monospaced", Font.PLAIN, 14);
        FontMetrics fm = new Canvas().getFontMetrics(font);
        int cw = fm.charWidth('m');
        checks.isTrue("the font is monospaced", cw > 0 && fm.stringWidth("iiii") == fm.stringWidth("WWWW")
                && fm.stringWidth("a b") == 3 * cw);

        Object[][] rows = {
            // text, width in characters, lines
            { "the quick brown fox", 19, new String[] { "the quick brown fox" } },
            { "the quick brown fox", 18, new String[] { "the quick brown", "fox" } },
            { "the quick brown fox", 9, new String[] { "the quick", "brown fox" } },
            { "the quick brown fox", 8, new String[] { "the", "quick", "brown", "fox" } },
            { "the quick brown fox", 5, new String[] { "the", "quick", "brown", "fox" } },
            { "abcdefghijkl", 5, new String[] { "abcde", "fghij", "kl" } },
            { "ab abcdefgh", 4, new String[] { "ab", "abcd", "efgh" } },
            { "abcdefgh ab", 4, new String[] { "abcd", "efgh", "ab" } },
            { "  lots   of\tspace  ", 20, new String[] { "lots of space" } },
            { "", 10, new String[0] },
            { "   ", 10, new String[0] },
            { "word", 0, new String[] { "w", "o", "r", "d" } },
            { "x yy", 1, new String[] { "x", "y", "y" } },
        };
        for (int i = 0; i < rows.length; i++) {
            int width = ((Integer) rows[i][1]).intValue() * cw;
            String[] lines = WrappingLabel.wrap((String) rows[i][0], fm, width);
            checks.equal("wrap " + Checks.show(rows[i][0]) + " at " + rows[i][1], rows[i][2], lines);
        }

        // Drawn: one band of ink per line, inside the rectangle only.
        WrappingLabel label = new WrappingLabel("aaa bbb ccc");
        label.setFont(font);
        label.setForeground(Color.black);
        int width = 3 * cw + 2 * WrappingLabel.INSET;
        BufferedImage image = blank(200, 200);
        Graphics2D g = image.createGraphics();
        label.draw(g, 10, 20, width, 180);
        g.dispose();
        checks.equal("three lines drawn", 3, DrawingChecks.lines(image, new Rectangle(0, 0, 200, 200), Color.white));
        checks.equal("nothing left of the rectangle", 0, DrawingChecks.ink(image, new Rectangle(0, 0, 10, 200), Color.white));
        checks.equal("nothing above the rectangle", 0, DrawingChecks.ink(image, new Rectangle(0, 0, 200, 20), Color.white));
        checks.equal("nothing right of the rectangle", 0,
                DrawingChecks.ink(image, new Rectangle(10 + width, 0, 190 - width, 200), Color.white));

        // Room for two and a half lines: the third is cut off at the bottom edge.
        image = blank(200, 200);
        g = image.createGraphics();
        int height = WrappingLabel.INSET + 2 * fm.getHeight() + fm.getHeight() / 2;
        label.draw(g, 10, 20, width, height);
        g.dispose();
        checks.equal("two and a half lines", 3, DrawingChecks.lines(image, new Rectangle(0, 0, 200, 200), Color.white));
        checks.equal("nothing below the rectangle", 0,
                DrawingChecks.ink(image, new Rectangle(0, 20 + height, 200, 180 - height), Color.white));

        // Room for two lines: the third is left out.
        image = blank(200, 200);
        g = image.createGraphics();
        label.draw(g, 10, 20, width, WrappingLabel.INSET + 2 * fm.getHeight());
        g.dispose();
        checks.equal("two lines fit", 2, DrawingChecks.lines(image, new Rectangle(0, 0, 200, 200), Color.white));

        // As a canvas of its own: paint() wraps to its size.
        label.setSize(width, 180);
        image = blank(width, 180);
        g = image.createGraphics();
        label.paint(g);
        g.dispose();
        checks.equal("canvas paints three lines", 3, DrawingChecks.lines(image, new Rectangle(0, 0, width, 180), Color.white));
        checks.equal("text kept", "aaa bbb ccc", label.getText());
        label.setText(null);
        checks.equal("null text is empty", "", label.getText());
    }

    static BufferedImage blank(int width, int height) {
        BufferedImage image = new BufferedImage(width, height, BufferedImage.TYPE_INT_RGB);
        Graphics2D g = image.createGraphics();
        g.setColor(Color.white);
        g.fillRect(0, 0, width, height);
        g.dispose();
        return image;
    }
}
