import java.awt.Color;
import java.awt.Font;
import java.awt.Frame;
import java.awt.GradientPaint;
import java.awt.Graphics2D;
import java.awt.RenderingHints;
import java.awt.image.BufferedImage;

/**
 * A window with two slideshows of the same two pictures and long captions, one wide (the
 * caption goes to the right) and one tall (the caption goes below), to look at. The tall
 * one starts two seconds later, so between the fourth and sixth second they show
 * different pictures.
 */
class ShowWindow {
    static void show(Workspace site, int seconds) throws Exception {
        site.write("sunset.gif", picture(160, 120, new Color(255, 140, 0), new Color(120, 0, 90), "1"), "gif");
        site.write("sea.jpg", picture(160, 120, new Color(0, 150, 220), new Color(0, 40, 90), "2"), "jpeg");
        String captions = "Sunset over the harbour, seen from the old lighthouse on the hill above the town"
                + "|The sea on a calm morning, with the fishing boats already far out beyond the bay";

        Frame frame = new Frame("quilanim");
        frame.setUndecorated(true);
        frame.setLayout(null);
        frame.setBackground(Color.white);
        frame.setBounds(20, 20, 640, 560);

        HarnessHost wide = site.host().param("imagelist", "sunset.gif,sea.jpg").param("captionlist", captions)
                .param("fontname", "Helvetica").param("fontsize", "16").param("fontstyle", "1")
                .param("pause", "4000").param("bg", "#FFF8E0");
        HarnessHost tall = site.host().param("imagelist", "sunset.gif,sea.jpg").param("captionlist", captions)
                .param("fontname", "TimesRoman").param("fontsize", "14").param("fontstyle", "2")
                .param("pause", "4000").param("bg", "30,30,60");
        quilanim top = new quilanim();
        quilanim bottom = new quilanim();
        top.setBounds(10, 10, 600, 200);
        bottom.setBounds(10, 230, 200, 320);
        wide.applet = top;
        wide.frame = null;
        tall.applet = bottom;
        top.setStub(wide);
        bottom.setStub(tall);
        frame.add(top);
        frame.add(bottom);
        frame.setVisible(true);
        top.init();
        bottom.init();
        top.start();
        // Two seconds apart, so that from the fourth second on the two show different pictures.
        Thread.sleep(2000);
        bottom.start();
        Thread.sleep(Math.max(0, seconds * 1000L - 2000));
        top.stop();
        bottom.stop();
        frame.dispose();
    }

    static BufferedImage picture(int width, int height, Color from, Color to, String mark) {
        BufferedImage image = new BufferedImage(width, height, BufferedImage.TYPE_INT_RGB);
        Graphics2D g = image.createGraphics();
        g.setRenderingHint(RenderingHints.KEY_ANTIALIASING, RenderingHints.VALUE_ANTIALIAS_ON);
        g.setPaint(new GradientPaint(0, 0, from, 0, height, to));
        g.fillRect(0, 0, width, height);
        g.setColor(new Color(255, 255, 200));
        g.fillOval(width / 2 - 25, height / 3 - 25, 50, 50);
        g.setColor(Color.white);
        g.setFont(new Font("SansSerif", Font.BOLD, 28));
        g.drawString(mark, 10, height - 12);
        g.dispose();
        return image;
    }
}
