import java.awt.Canvas;
import java.awt.Color;
import java.awt.Dimension;
import java.awt.Font;
import java.awt.FontMetrics;
import java.awt.Graphics;
import java.awt.Shape;
import java.util.ArrayList;

/**
 * A canvas that draws its text word-wrapped to its width, line under line from the top.
 * A word wider than a whole line is broken between characters, so nothing is lost off
 * the right edge. The slideshow applet also uses it to draw captions straight into its
 * own off-screen picture, through draw().
 */
public class WrappingLabel extends Canvas {
    private static final long serialVersionUID = 1L;

    /** Blank space left around the text, in pixels. */
    static final int INSET = 4;

    private String text = "";

    public WrappingLabel() {
    }

    public WrappingLabel(String text) {
        setText(text);
    }

    public void setText(String newText) {
        String value = newText == null ? "" : newText;
        if (!value.equals(text)) {
            text = value;
            if (isDisplayable())
                repaint();
        }
    }

    public String getText() {
        return text;
    }

    public void paint(Graphics g) {
        Dimension size = getSize();
        draw(g, 0, 0, size.width, size.height);
    }

    public Dimension getPreferredSize() {
        Font font = getFont();
        if (font == null)
            return new Dimension(2 * INSET, 2 * INSET);
        FontMetrics fm = getFontMetrics(font);
        return new Dimension(fm.stringWidth(text) + 2 * INSET, fm.getHeight() + 2 * INSET);
    }

    /**
     * Draws the text wrapped to the rectangle x, y, width, height in the label's font and
     * foreground colour (black when none is set). Nothing is drawn outside the rectangle;
     * lines that do not fit below are left out.
     */
    public void draw(Graphics g, int x, int y, int width, int height) {
        if (width <= 0 || height <= 0 || text.length() == 0)
            return;
        Font font = getFont();
        if (font != null)
            g.setFont(font);
        Color colour = getForeground();
        g.setColor(colour != null ? colour : Color.black);
        FontMetrics fm = g.getFontMetrics();
        String[] lines = wrap(text, fm, width - 2 * INSET);

        Shape oldClip = g.getClip();
        g.clipRect(x, y, width, height);
        int top = y + INSET;
        for (int i = 0; i < lines.length; i++) {
            if (top >= y + height)
                break;
            g.drawString(lines[i], x + INSET, top + fm.getAscent());
            top += fm.getHeight();
        }
        g.setClip(oldClip);
    }

    /**
     * Splits text into lines no wider than width as measured by fm. Words are separated
     * by white space, which is collapsed to single blanks; a word wider than a line is
     * cut into pieces that fit, with at least one character per line.
     */
    public static String[] wrap(String text, FontMetrics fm, int width) {
        ArrayList<String> lines = new ArrayList<String>();
        String trimmed = text == null ? "" : text.trim();
        if (trimmed.length() == 0)
            return new String[0];
        String[] words = trimmed.split("\\s+");
        String line = "";
        for (int i = 0; i < words.length; i++) {
            String word = words[i];
            String candidate = line.length() == 0 ? word : line + " " + word;
            if (fm.stringWidth(candidate) <= width) {
                line = candidate;
                continue;
            }
            if (line.length() > 0)
                lines.add(line);
            while (word.length() > 0 && fm.stringWidth(word) > width) {
                int cut = longestFittingPrefix(word, fm, width);
                if (cut >= word.length())
                    break;
                lines.add(word.substring(0, cut));
                word = word.substring(cut);
            }
            line = word;
        }
        if (line.length() > 0)
            lines.add(line);
        return lines.toArray(new String[lines.size()]);
    }

    /** Length of the longest start of word that fits width; at least one character. */
    private static int longestFittingPrefix(String word, FontMetrics fm, int width) {
        int fits = word.offsetByCodePoints(0, 1);
        int next = fits;
        while (next < word.length()) {
            next = word.offsetByCodePoints(next, 1);
            if (fm.stringWidth(word.substring(0, next)) > width)
                break;
            fits = next;
        }
        return fits;
    }
}
